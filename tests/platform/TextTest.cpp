#include "platform/CodePage.h"
#include "platform/CodePageDetect.h"
#include "platform/NaturalCompare.h"
#include "platform/Normalize.h"
#include "platform/Utf.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace sonavel {
namespace {

TEST(UtfTest, RoundTripsAndReplacesInvalidSequences)
{
    const std::string text = "A\xc3\xa9\xe6\x97\xa5\xf0\x9f\x8e\xb5";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide, u"A\u00e9\u65e5\U0001F3B5");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_FALSE(IsValidUtf8("\xe9t\xe9"));
    EXPECT_EQ(Utf8ToUtf16("a\xffz"), u"a\uFFFDz");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xef\xbf\xbd");
}

TEST(CodePageTest, DecodesLegacyCodePages)
{
    EXPECT_EQ(DecodeCodePage("caf\xe9 \x80", "CP1252"), u"caf\u00e9 \u20ac");
    // CP932, with an NEC extension (circled one) that iconv's SHIFT_JIS rejects.
    EXPECT_EQ(DecodeCodePage("\x93\xfa\x96\x7b\x87\x40", "CP932"), u"\u65e5\u672c\u2460");
    EXPECT_FALSE(DecodeCodePage("\x93", "CP932"));
    EXPECT_FALSE(DecodeCodePage("x", "NO-SUCH-CODEPAGE"));
}

TEST(CodePageTest, SystemTextIsUtf8WhenValidElseTheLegacyCodePage)
{
    unsetenv("SONAVEL_LEGACY_CODEPAGE");
    EXPECT_EQ(DecodeSystemText("\xc3\xa9"), u"\u00e9");
    EXPECT_EQ(DecodeSystemText("\xe9"), u"\u00e9");
    setenv("SONAVEL_LEGACY_CODEPAGE", "CP932", 1);
    EXPECT_EQ(DecodeSystemText("\x93\xfa\x96\x7b"), u"\u65e5\u672c");
    unsetenv("SONAVEL_LEGACY_CODEPAGE");
}

TEST(CodePageDetectTest, RecognisesCommonEncodings)
{
    EXPECT_EQ(DetectCodePage("plain ascii"), "UTF-8");
    EXPECT_EQ(DetectCodePage("\xe6\x97\xa5\xe6\x9c\xac"), "UTF-8");
    // A Japanese title in Shift-JIS: "Tokyo no yoru" (東京の夜) and more.
    const std::string sjis = "\x93\x8c\x8b\x9e\x82\xcc\x96\xe9\x81\x40\x82\xa0\x82\xc8\x82\xbd\x82\xc6\x88\xea\x8f\x8f\x82\xc9";
    EXPECT_EQ(DetectCodePage(sjis), "CP932");
}

TEST(NormalizeTest, ComposesDecomposedText)
{
    EXPECT_EQ(NormalizeNfc(u"e\u0301"), u"\u00e9");
    EXPECT_EQ(NormalizeNfc(u"\u304b\u3099"), u"\u304c");
    EXPECT_EQ(NormalizeNfc(u""), u"");
}

TEST(NaturalCompareTest, OrdersAsPeopleRead)
{
    struct Case {
        std::u16string_view a;
        std::u16string_view b;
        int expected;
    };
    const Case cases[] = {
        {u"track2.wav", u"track10.wav", -1},
        {u"Track10", u"track9", 1},
        {u"abc", u"ABC", 1},
        {u"abc", u"abd", -1},
        {u"a01", u"a1", -1},
        {u"a", u"ab", -1},
        {u"10", u"9a", 1},
        {u"same", u"same", 0},
        {u"x99999999999999999999999", u"x100000000000000000000000", -1},
    };
    for (const Case& c : cases) {
        const int result = NaturalCompare(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.expected) << Utf16ToUtf8(c.a) << " vs " << Utf16ToUtf8(c.b);
        const int reverse = NaturalCompare(c.b, c.a);
        EXPECT_EQ((reverse > 0) - (reverse < 0), -c.expected);
    }
}

} // namespace
} // namespace sonavel
