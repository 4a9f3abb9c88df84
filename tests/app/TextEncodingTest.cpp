#include "app/TextEncoding.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace sonavel {
namespace {

TEST(DecodeTagTextTest, DecodesEveryEncoding)
{
    struct Case {
        std::vector<uint8_t> bytes;
        int code;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {{0xFE, 0xFF, 0x00, 0x41, 0x00, 0x00}, 1, u"A"},
        {{0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00}, 1, u"A"},
        {{0xFF, 0xFE, 0xE5, 0x65, 0x2C, 0x67, 0x00, 0x00}, 1, u"\u65e5\u672c"},
        {{0x00, 0x41, 0x00, 0x42, 0x00, 0x00}, 2, u"AB"},
        {{0xC3, 0xA9, 0x00, 0x00}, 3, u"\u00e9"},
        {{'a', 'b', 0x00, 'c', 0x00, 0x00}, 0, u"ab"},
        {{0xE9, 0x00, 0x00}, 0, u"\u00e9"},
        {{0xE9, 0x00, 0x00}, 9, u"\u00e9"},
        // Texts without their terminator end with the field.
        {{0xFF, 0xFE, 0x41, 0x00, 0x42}, 1, u"A"},
        {{0xFF}, 1, u""},
        {{'x', 'y'}, 3, u"xy"},
    };
    unsetenv("SONAVEL_LEGACY_CODEPAGE");
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeTagText(c.bytes, c.code), c.expected) << "code " << c.code;
    }
}

TEST(NormalizeForDisplayTest, ComposesKanaAndLatin)
{
    EXPECT_EQ(NormalizeForDisplay(u"\u304b\u3099"), u"\u304c");
    EXPECT_EQ(NormalizeForDisplay(u"Caf" u"e\u0301"), u"Caf\u00e9");
    EXPECT_EQ(NormalizeForDisplay(u""), u"");
}

TEST(NormalizeForDisplayTest, KanaTableAloneLeavesLatinDecomposed)
{
    EXPECT_EQ(ComposeKana(u"\u304b\u3099\u30cf\u309a\u30a6\u3099\u309d\u3099"), u"\u304c\u30d1\u30f4\u309e");
    EXPECT_EQ(ComposeKana(u"e\u0301"), u"e\u0301");
    // A mark that does not follow its base stays as it is.
    EXPECT_EQ(ComposeKana(u"\u3099\u304b"), u"\u3099\u304b");
}

TEST(AnsiToWideTest, ReadsTheSystemEncoding)
{
    unsetenv("SONAVEL_LEGACY_CODEPAGE");
    EXPECT_EQ(AnsiToWide(nullptr), u"");
    EXPECT_EQ(AnsiToWide(""), u"");
    EXPECT_EQ(AnsiToWide("\xc3\xa9t\xc3\xa9"), u"\u00e9t\u00e9");
    EXPECT_EQ(AnsiToWide("\xe9t\xe9"), u"\u00e9t\u00e9");
}

TEST(DecodeDetectedTextTest, ReadsUtf8Cp1252AndShiftJis)
{
    unsetenv("SONAVEL_LEGACY_CODEPAGE");
    EXPECT_EQ(DecodeDetectedText("Beyonc\xc3\xa9"), u"Beyonc\u00e9");
    EXPECT_EQ(DecodeDetectedText("Caf\xe9 M\xfcller"), u"Caf\u00e9 M\u00fcller");
    EXPECT_EQ(DecodeDetectedText("\x93\x8c\x8b\x9e\x82\xcc\x96\xe9\x81\x40\x82\xa0\x82\xc8\x82\xbd\x82\xc6\x88\xea\x8f\x8f\x82\xc9"),
              u"\u6771\u4eac\u306e\u591c\u3000\u3042\u306a\u305f\u3068\u4e00\u7dd2\u306b");
}

} // namespace
} // namespace sonavel
