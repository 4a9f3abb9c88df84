#include "app/IniFile.h"

#include <gtest/gtest.h>

#include <string>

namespace sonavel {
namespace {

std::u16string ValueOf(const IniFile& document, std::u16string_view section, std::u16string_view key)
{
    const std::u16string* value = document.Find(section, key);
    return value == nullptr ? u"<absent>" : *value;
}

TEST(IniFileTest, FindsKeysAsWindowsProfilesDo)
{
    const IniFile document = IniFile::Parse("\xEF\xBB\xBF"
                                            "Loose=before any section\r\n"
                                            "  [ config ]  \r\n"
                                            "; Device=commented\r\n"
                                            "DEVICE =  Line 6  \r\n"
                                            "device=second\r\n"
                                            "no equals sign\r\n"
                                            "Empty=\r\n"
                                            "[Config]\r\n"
                                            "Other=in the second Config section\r\n"
                                            "[Gr\xC3\xBC\xC3\x9F"
                                            "e]\n"
                                            "Key=a=b\n");
    EXPECT_EQ(ValueOf(document, u"Config", u"Device"), u"Line 6");
    EXPECT_EQ(ValueOf(document, u"CONFIG", u"empty"), u"");
    EXPECT_EQ(ValueOf(document, u"Config", u"Other"), u"<absent>"); // only the first section counts
    EXPECT_EQ(ValueOf(document, u"Config", u"no equals sign"), u"<absent>");
    EXPECT_EQ(ValueOf(document, u"Config", u"; Device"), u"<absent>");
    EXPECT_EQ(ValueOf(document, u"Config", u"Loose"), u"<absent>");
    EXPECT_EQ(ValueOf(document, u"Grüße", u"key"), u"a=b");
    EXPECT_EQ(ValueOf(document, u"Missing", u"Key"), u"<absent>");
}

TEST(IniFileTest, SetReplacesAddsAndKeepsTheRest)
{
    IniFile document = IniFile::Parse("; my notes\n[window]\nx=5\n\n[Extra]\nKeep=me\n");
    document.Set(u"Window", u"X", u"-20");
    document.Set(u"Window", u"Y", u"7");
    document.Set(u"Playlist", u"File", u"/music/a\nb.ppl");
    EXPECT_EQ(document.ToText(),
              "; my notes\n[window]\nx=-20\nY=7\n\n[Extra]\nKeep=me\n\n[Playlist]\nFile=/music/a b.ppl\n");

    const IniFile reread = IniFile::Parse(document.ToText());
    EXPECT_EQ(ValueOf(reread, u"Playlist", u"File"), u"/music/a b.ppl");
    EXPECT_EQ(reread.ToText(), document.ToText());
}

TEST(IniFileTest, EmptyDocumentGetsSectionsWithoutLeadingBlankLine)
{
    IniFile document;
    document.Set(u"Window", u"X", u"0");
    document.Set(u"Config", u"Device", u"");
    EXPECT_EQ(document.ToText(), "[Window]\nX=0\n\n[Config]\nDevice=\n");
}

} // namespace
} // namespace sonavel
