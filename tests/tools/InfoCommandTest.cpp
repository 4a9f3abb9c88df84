#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

namespace sonavel {
namespace {

using test::RunProgram;
using test::TempDir;
using test::WaveBuilder;

TEST(InfoCommandTest, PrintsOneBlockPerTrack)
{
    TempDir dir;
    const auto first = dir.Write("first.wav", WaveBuilder().Format(1, 2, 44100, 16).InfoList({{"IART", "Someone"}, {"INAM", "Caf\xe9"}}).Data(test::CountingBytes(176400)).Build());
    const auto second = dir.Write("second.wav", WaveBuilder().ExtensibleFormat(2, 96000, 24, 1).Data(test::CountingBytes(6 * 960)).Build());

    const auto result = RunProgram("sonavel-cli", {"info", first.string(), second.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "path: " + first.string() + "\n"
              "displayName: first.wav\n"
              "sourceType: 2\n"
              "formatName: WAVE\n"
              "dataBytes: 176400\n"
              "title: Caf\xc3\xa9\n"
              "artist: Someone\n"
              "formatTag: 1\n"
              "channels: 2\n"
              "samplesPerSec: 44100\n"
              "avgBytesPerSec: 176400\n"
              "blockAlign: 4\n"
              "bitsPerSample: 16\n"
              "lengthFrames: 75\n"
              "startFrame: 0\n"
              "endFrame: 74\n"
              "\n"
              "path: " + second.string() + "\n"
              "displayName: second.wav\n"
              "sourceType: 2\n"
              "formatName: WAVE\n"
              "dataBytes: 5760\n"
              "title: \n"
              "artist: \n"
              "formatTag: 1\n"
              "channels: 2\n"
              "samplesPerSec: 96000\n"
              "avgBytesPerSec: 576000\n"
              "blockAlign: 6\n"
              "bitsPerSample: 24\n"
              "lengthFrames: 1\n"
              "startFrame: 0\n"
              "endFrame: 0\n"
              "\n");
}

TEST(InfoCommandTest, FailuresGoToStderrWithThePathAndSetTheStatus)
{
    TempDir dir;
    const auto good = dir.Write("good.wav", WaveBuilder().Format(1, 1, 8000, 8).Data(test::CountingBytes(80)).Build());
    const auto broken = dir.WriteText("broken.wav", "RIFF....WAVEjunk");
    const auto missing = dir.Path() / "missing.wav";

    const auto result = RunProgram("sonavel-cli", {"info", broken.string(), good.string(), missing.string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("displayName: good.wav\n"), std::string::npos);
    EXPECT_EQ(result.err, "Audio file is broken\r\n" + broken.string() + "\n" + "Can't open file\r\n" + missing.string() + "\n");
}

TEST(InfoCommandTest, CueSheetsAndPluginFormatsGoThroughTheSameFactory)
{
    TempDir dir;
    dir.Write("album.wav", WaveBuilder().Format(1, 1, 7500, 8).Data(test::CountingBytes(600 * 100)).Build());
    const auto cue = dir.WriteText("album.cue", "FILE album.wav WAVE\nTRACK 01 AUDIO\nTITLE One\nINDEX 01 00:00:00\n"
                                                "TRACK 02 AUDIO\nTITLE Two\nINDEX 01 00:02:00\n");
    const auto result = RunProgram("sonavel-cli", {"info", cue.string()});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("title: One\nartist: \n"), std::string::npos);
    EXPECT_NE(result.out.find("title: Two\n"), std::string::npos);
    EXPECT_NE(result.out.find("startFrame: 150\nendFrame: 599\n"), std::string::npos);
    EXPECT_NE(result.out.find("displayName: album.wav\n"), std::string::npos);

    const auto unknown = dir.WriteText("notes.xyz", "text");
    const auto failed = RunProgram("sonavel-cli", {"info", unknown.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "Audio file is broken\r\n" + unknown.string() + "\n");
}

TEST(InfoCommandTest, UsageErrors)
{
    EXPECT_EQ(RunProgram("sonavel-cli", {}).status, 2);
    EXPECT_EQ(RunProgram("sonavel-cli", {"info"}).status, 2);
    const auto unknown = RunProgram("sonavel-cli", {"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("unknown command"), std::string::npos);
}

} // namespace
} // namespace sonavel
