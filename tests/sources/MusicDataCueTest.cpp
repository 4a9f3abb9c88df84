#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/CueSheetText.h"
#include "sources/MusicDataCue.h"
#include "sources/MusicResult.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

using test::TempDir;
using test::WaveBuilder;

class MusicDataCueTest : public ::testing::Test {
protected:
    // A WAVE file of `frames` frame75 at 8 kHz, 8-bit mono (8000 / 75 is not whole, which the
    // frame arithmetic must survive).
    void WriteWave(const std::string& name, uint32_t frames)
    {
        dir_.Write(name, WaveBuilder().Format(1, 1, 7500, 8).Data(test::CountingBytes(frames * 100)).Build());
    }

    int32_t OpenSheet(const std::string& bytes)
    {
        const auto path = dir_.WriteText("sheet.cue", bytes);
        MusicOpenParams params;
        params.path = Utf8ToUtf16(path.string());
        return cue_.Open(&params);
    }

    MusicTrackInfo Track(int index)
    {
        MusicTrackInfo info;
        EXPECT_EQ(cue_.GetTrackInfo(index, &info), kResultOk);
        return info;
    }

    int Count()
    {
        int count = -1;
        cue_.GetTrackCount(&count);
        return count;
    }

    TempDir dir_;
    CMusicDataCue cue_{std::make_shared<CPluginCtrl>()};
};

TEST_F(MusicDataCueTest, SingleFileSheetSplitsTheFileAtIndex01)
{
    WriteWave("album.wav", 600);
    ASSERT_EQ(OpenSheet("REM GENRE Test\r\nCATALOG 0000000000000\r\nPERFORMER \"The Band\"\r\nTITLE \"The Album\"\r\n"
                        "FILE \"album.wav\" WAVE\r\n  TRACK 01 AUDIO\r\n    TITLE \"First\"\r\n    INDEX 01 00:00:00\r\n"
                        "  TRACK 02 AUDIO\r\n    PERFORMER 'Guest Star'\r\n    INDEX 01 00:02:00\r\n"
                        "\tTRACK 03 AUDIO\r\n\t\tFLAGS DCP\r\n\t\tINDEX 01 00:05:00\r\n"),
              kResultOk);
    ASSERT_EQ(Count(), 3);
    const uint32_t starts[] = {0, 150, 375};
    const uint32_t ends[] = {149, 374, 599};
    for (int i = 0; i < 3; ++i) {
        const MusicTrackInfo t = Track(i);
        EXPECT_EQ(t.startFrame, starts[i]);
        EXPECT_EQ(t.endFrame, ends[i]);
        EXPECT_EQ(t.lengthFrames, ends[i] - starts[i] + 1);
        EXPECT_EQ(t.sourceType, kSourceWave);
        EXPECT_EQ(t.formatName, u"WAVE");
        EXPECT_EQ(t.displayName, u"album.wav");
        EXPECT_EQ(t.path, Utf8ToUtf16((dir_.Path() / "album.wav").string()));
        EXPECT_EQ(t.format.nSamplesPerSec, 7500u);
    }
    EXPECT_EQ(Track(0).title, u"First");
    EXPECT_EQ(Track(1).title, u"Track 02");
    EXPECT_EQ(Track(0).artist, u"The Band");
    EXPECT_EQ(Track(1).artist, u"Guest Star");
    MusicTrackInfo out;
    EXPECT_EQ(cue_.GetTrackInfo(3, &out), kResultBadArgument);
    EXPECT_EQ(cue_.GetTrackInfo(-1, &out), kResultBadArgument);
}

TEST_F(MusicDataCueTest, PregapEndsThePreviousTrack)
{
    WriteWave("long.wav", 4 * 4500);
    ASSERT_EQ(OpenSheet("FILE long.wav WAVE\nTRACK 1 AUDIO\nINDEX 01 00:00:00\nTRACK 2 AUDIO\nINDEX 00 02:58:00\nINDEX 01 03:00:00\n"), kResultOk);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Track(0).endFrame, 13349u);
    EXPECT_EQ(Track(1).startFrame, 13500u);
    EXPECT_EQ(Track(1).endFrame, 4u * 4500 - 1);
}

TEST_F(MusicDataCueTest, OneFilePerTrackRunsEachToItsFileEnd)
{
    WriteWave("one.wav", 100);
    WriteWave("two words.wav", 250);
    ASSERT_EQ(OpenSheet("FILE \"one.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:10\nFILE \"two words.wav\" WAVE\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n"),
              kResultOk);
    ASSERT_EQ(Count(), 2);
    EXPECT_EQ(Track(0).startFrame, 10u);
    EXPECT_EQ(Track(0).endFrame, 99u);
    EXPECT_EQ(Track(0).lengthFrames, 90u);
    EXPECT_EQ(Track(1).endFrame, 249u);
    EXPECT_EQ(Track(1).displayName, u"two words.wav");
}

TEST_F(MusicDataCueTest, SheetEncodings)
{
    WriteWave("a.wav", 75);
    const std::u16string title = u"\u65e5\u672c\u8a9e \u00e9";
    const std::string utf8 = "FILE a.wav WAVE\nTRACK 01 AUDIO\nTITLE \"" + Utf16ToUtf8(title) + "\"\nINDEX 01 00:00:00\n";
    auto utf16 = [&](bool bigEndian) {
        const std::u16string wide = Utf8ToUtf16(utf8);
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t c : wide) {
            const char hi = static_cast<char>(c >> 8);
            const char lo = static_cast<char>(c & 0xFF);
            bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
        }
        return bytes;
    };
    const std::string sjis = "FILE a.wav WAVE\nTRACK 01 AUDIO\nTITLE \"\x93\xfa\x96\x7b\x8c\xea \x83\x65\x83\x58\x83\x67\"\nINDEX 01 00:00:00\n";
    const std::pair<std::string, std::u16string> cases[] = {
        {"\xEF\xBB\xBF" + utf8, title}, {utf8, title}, {utf16(false), title}, {utf16(true), title},
        {sjis, u"\u65e5\u672c\u8a9e \u30c6\u30b9\u30c8"},
    };
    for (const auto& [bytes, expected] : cases) {
        ASSERT_EQ(OpenSheet(bytes), kResultOk);
        EXPECT_EQ(Track(0).title, expected);
    }
}

TEST_F(MusicDataCueTest, RejectedSheets)
{
    WriteWave("a.wav", 600);
    const std::pair<const char*, int32_t> cases[] = {
        {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 02 00:00:00\n", kResultBroken},
        {"FILE a.wav WAVE\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n", kResultBroken},
        {"PERFORMER\nFILE a.wav WAVE\nTRACK 01 AUDIO\n", kResultBroken},
        {"FILE a.wav WAVE\nTRACK 01 AUDIO\nTITLE\n", kResultBroken},
        {"FILE missing.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", kResultBroken},
        {"FILE a.wav\nTRACK 01 AUDIO\n", kResultBroken},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", kResultBroken},
        {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n", kResultBroken},
        {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 01:00:00\n", kResultBroken},
        {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 00:01:00\n", kResultBroken},
        {"REM only comments\n", kResultOk},
    };
    for (const auto& [sheet, expected] : cases) {
        EXPECT_EQ(OpenSheet(sheet), expected) << sheet;
    }
    MusicOpenParams params;
    params.path = Utf8ToUtf16((dir_.Path() / "absent.cue").string());
    EXPECT_EQ(cue_.Open(&params), kResultCannotOpen);
}

TEST_F(MusicDataCueTest, WindowsPathsAndSubfolders)
{
    std::filesystem::create_directory(dir_.Path() / "CD1");
    dir_.Write("CD1/t.wav", WaveBuilder().Format(1, 1, 7500, 8).Data(test::CountingBytes(7500)).Build());
    ASSERT_EQ(OpenSheet("FILE \"CD1\\t.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"), kResultOk);
    EXPECT_EQ(Track(0).path, Utf8ToUtf16((dir_.Path() / "CD1" / "t.wav").string()));
    EXPECT_EQ(Track(0).displayName, u"t.wav");
}

TEST(CueSheetTextTest, TokensAndTimes)
{
    EXPECT_EQ(SplitCueLine(u"  FILE \"My Song.wav\" WAVE\r\nignored"), (std::vector<std::u16string>{u"FILE", u"My Song.wav", u"WAVE"}));
    EXPECT_EQ(SplitCueLine(u"TITLE 'It''s'"), (std::vector<std::u16string>{u"TITLE", u"It", u"s"}));
    EXPECT_EQ(SplitCueLine(u"TITLE \"unterminated"), (std::vector<std::u16string>{u"TITLE", u"unterminated"}));
    EXPECT_EQ(SplitCueLine(u"a b c d e f g h i j k").size(), 9u);
    EXPECT_TRUE(SplitCueLine(u"   ").empty());
    EXPECT_EQ(ParseCueTime(u"03:00:00"), 13500u);
    EXPECT_EQ(ParseCueTime(u"01:02:03"), 4500u + 150 + 3);
    EXPECT_EQ(ParseCueTime(u"120:00:00"), 120u * 4500);
    EXPECT_EQ(ParseCueTime(u"99999999999:00:00"), UINT32_MAX);
}

} // namespace
} // namespace sonavel
