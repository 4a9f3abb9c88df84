#include "app/ErrorText.h"
#include "app/StringTable.h"
#include "app/TextFormat.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

TEST(StringTableTest, HoldsTheProgramTexts)
{
    EXPECT_EQ(LoadString(25001), u"Playing");
    EXPECT_EQ(LoadString(25004), u"Duration");
    EXPECT_EQ(LoadString(strings::kWaveFile), u"WAVE File");
    EXPECT_EQ(LoadString(strings::kNoOutputDevice), u"No output device has been selected.");
    EXPECT_EQ(LoadString(strings::kPlaylistChanged), u"Playlist has been changed. Do you want to save?");
    EXPECT_EQ(LoadString(strings::kLoading), u"Loading");
    EXPECT_EQ(LoadString(strings::kOk), u"OK");
    EXPECT_EQ(LoadString(strings::kApplicationTitle), u"KESTRANE Sonavel");
    EXPECT_EQ(LoadString(1027), u"Expand to RAM (Needs More Memory)");
    EXPECT_FALSE(HasString(25014));
    EXPECT_EQ(LoadString(25014), u"");
}

TEST(ErrorTextTest, MessageForEachResultCode)
{
    struct Case {
        int32_t code;
        std::u16string_view expected;
    };
    const Case cases[] = {
        {0, u""},
        {-1200, u""},
        {-1000, u"Parameter error occurred (may be a BUG)"},
        {-1001, u"Illegal control sequence error occurred (may be a BUG)"},
        {-1100, u"Can't open file\r\n/music/a.wav"},
        {-1101, u"Audio file is broken\r\n/music/a.wav"},
        {-1102, u"Can't allocate enough memory\r\n/music/a.wav"},
        {-1103, u"Error has been occurred when reading audio data\r\n/music/a.wav"},
        {-1104, u"Too large file\r\n/music/a.wav"},
        {-5, u"Unknown error (error code = fffffffb)"},
        {-1105, u"Unknown error (error code = fffffbaf)"},
        {1, u"Unknown error (error code = 00000001)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultMessage(c.code, u"/music/a.wav"), c.expected) << c.code;
    }
}

TEST(ErrorTextTest, DeviceMessages)
{
    EXPECT_EQ(FormatNotSupportedMessage(true, 2822400, u"/a.dff"),
              u"Playback device does not support source media format (DSD 2822400Hz)\r\n/a.dff");
    EXPECT_EQ(FormatNotSupportedMessage(false, 44100, u"/a.wav"),
              u"Playback device does not support source media format (PCM 44100Hz)\r\n/a.wav");
    EXPECT_EQ(DeviceErrorMessage(-997), u"audio device error (code = -997)");
}

TEST(TextFormatTest, FormatsThePatternsOfTheStringTable)
{
    EXPECT_EQ(FormatText(u"Track %02d", {int64_t{7}}), u"Track 07");
    EXPECT_EQ(FormatText(u"Track %02d", {int64_t{123}}), u"Track 123");
    EXPECT_EQ(FormatText(u"[%s %u%%...] %s - ", {u"Loading", int64_t{42}, u"Song"}), u"[Loading 42%...] Song - ");
    EXPECT_EQ(FormatText(u"%d:%02d:%02d", {int64_t{1}, int64_t{2}, int64_t{3}}), u"1:02:03");
    EXPECT_EQ(FormatText(u"%08x", {int64_t{255}}), u"000000ff");
    EXPECT_EQ(FormatText(u"%d", {int64_t{-12}}), u"-12");
    EXPECT_EQ(FormatText(u"%05d", {int64_t{-12}}), u"-0012");
    EXPECT_EQ(FormatText(u"[%4s]", {u"ab"}), u"[  ab]");
    EXPECT_EQ(FormatText(u"missing %s.", {}), u"missing .");
    EXPECT_EQ(FormatText(u"trailing %", {}), u"trailing %");
}

} // namespace
} // namespace sonavel
