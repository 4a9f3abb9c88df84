#include "app/IniProfile.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

TEST(IniProfileTest, ReadsIntegersFromTheirLeadingDigits)
{
    struct Case {
        std::u16string_view text;
        int32_t value;
    };
    const Case cases[] = {
        {u"-90", -90},
        {u"12abc", 12},
        {u"abc", 0},
        {u"+7", 7},
        {u"  3", 3},
        {u"-", 0},
        {u"1.5", 1},
        {u"0x10", 0},
        {u"2147483647", 2147483647},
        {u"4294967297", 1},
        {u"-2147483648", INT32_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseProfileInt(c.text), c.value) << std::string(c.text.begin(), c.text.end());
    }
}

TEST(IniProfileTest, FallsBackWhereWindowsDoes)
{
    const CIniProfile profile(
        IniFile::Parse("[S]\nEmpty=\nQuoted=\"  padded \"\nHalf=\"open\nJunk=x1\nSingle='q'\n"));
    EXPECT_EQ(profile.GetProfileInt(u"S", u"Empty", 42), 42);
    EXPECT_EQ(profile.GetProfileInt(u"S", u"Missing", 42), 42);
    EXPECT_EQ(profile.GetProfileInt(u"S", u"Junk", 42), 0);
    EXPECT_EQ(profile.GetProfileString(u"S", u"Empty", u"fallback"), u"");
    EXPECT_EQ(profile.GetProfileString(u"S", u"Missing", u"fallback"), u"fallback");
    EXPECT_EQ(profile.GetProfileString(u"S", u"Quoted", u""), u"  padded ");
    EXPECT_EQ(profile.GetProfileString(u"S", u"Half", u""), u"\"open");
    EXPECT_EQ(profile.GetProfileString(u"S", u"Single", u""), u"q");
}

TEST(IniProfileTest, WritesDecimalIntegers)
{
    CIniProfile profile{IniFile{}};
    profile.WriteProfileInt(u"Config", u"ThrGapless", -45);
    profile.WriteProfileString(u"Config", u"Device", u"WASAPI: Speakers");
    EXPECT_EQ(profile.Document().ToText(), "[Config]\nThrGapless=-45\nDevice=WASAPI: Speakers\n");
}

} // namespace
} // namespace sonavel
