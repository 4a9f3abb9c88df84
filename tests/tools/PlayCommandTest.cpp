#include "tests/support/DffBuilder.h"
#include "tests/support/DsfBuilder.h"
#include "tests/support/RunProgram.h"
#include "tests/support/Shell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"
#include "tests/support/WrittenStream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sonavel {
namespace {

using test::RunProgram;
using test::TempDir;
using test::WaveBuilder;

class PlayCommandTest : public ::testing::Test {
  protected:
    // A stereo file of `frames` frames whose samples are never zero; returns its sample bytes.
    std::vector<uint8_t> AddWave(const std::string& name, uint32_t rate, uint16_t bits, size_t frames)
    {
        std::vector<uint8_t> samples(frames * 2 * (bits / 8));
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<uint8_t>((i * 7 + files_.size()) % 251 + 1);
        }
        files_.push_back(dir_.Write(name, WaveBuilder().Format(1, 2, rate, bits).Data(samples).Build()).string());
        return samples;
    }

    std::vector<std::string> Environment() const
    {
        return {"XDG_CONFIG_HOME=" + (dir_.Path() / "config").string()};
    }

    test::ProgramResult Render(std::vector<std::string> extra = {})
    {
        std::vector<std::string> args{"render", "--out", Out(1).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        args.insert(args.end(), files_.begin(), files_.end());
        return RunProgram("sonavel-cli", args, Environment());
    }

    std::filesystem::path Out(int n) const
    {
        return dir_.Path() / (n == 1 ? std::string("out.wav") : "out." + std::to_string(n) + ".wav");
    }

    // The last file the output wrote: a restart (a seek may reopen the device) begins a new one.
    std::filesystem::path LastOut() const
    {
        int n = 1;
        while (std::filesystem::exists(Out(n + 1))) {
            ++n;
        }
        return Out(n);
    }

    TempDir dir_;
    std::vector<std::string> files_;
};

// The words after the output's leading silence, as many as expected.
std::vector<int32_t> Played(const test::WrittenStream& stream, size_t count)
{
    const auto first = std::find_if(stream.words.begin(), stream.words.end(), [](int32_t w) { return w != 0; });
    const auto available = static_cast<size_t>(stream.words.end() - first);
    return std::vector<int32_t>(first, first + static_cast<std::ptrdiff_t>(std::min(count, available)));
}

TEST_F(PlayCommandTest, RenderPlaysTracksGaplesslyAndRestartsAtANewRate)
{
    auto joined = test::ExpectedWords(AddWave("a.wav", 44100, 16, 30000), 16);
    const auto second = test::ExpectedWords(AddWave("b.wav", 44100, 16, 20000), 16);
    joined.insert(joined.end(), second.begin(), second.end());
    const auto third = test::ExpectedWords(AddWave("c.wav", 96000, 24, 40000), 24);
    files_.push_back(dir_.Path().string());
    files_.push_back(dir_.WriteText("notes.txt", "not music").string());

    const auto result = Render();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("track 1/3: a.wav [WAVE, 44100 Hz, 16 bit, 2 ch, 0:01]"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("track 3/3: c.wav [WAVE, 96000 Hz, 24 bit, 2 ch, 0:00]"), std::string::npos);
    EXPECT_NE(result.out.find("tracks: 3, underruns: 0, samples: "), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("skipped: " + dir_.Path().string()), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("notes.txt"), std::string::npos);

    const auto first = test::ReadWrittenStream(Out(1));
    EXPECT_EQ(first.rate, 44100u);
    EXPECT_EQ(Played(first, joined.size()), joined);
    const auto next = test::ReadWrittenStream(Out(2));
    EXPECT_EQ(next.rate, 96000u);
    EXPECT_EQ(Played(next, third.size()), third);
    EXPECT_FALSE(std::filesystem::exists(Out(3)));
}

TEST_F(PlayCommandTest, SeekStartsTheFirstTrackAtTheGivenSecond)
{
    const auto words = test::ExpectedWords(AddWave("long.wav", 44100, 16, 44100 * 3), 16);
    const auto result = Render({"--seek", "2"});
    EXPECT_EQ(result.status, 0) << result.err;
    // One second of the track and the lead-in were delivered, and they are the track's last second.
    EXPECT_NE(result.out.find("samples: 48510"), std::string::npos) << result.out;
    const std::vector<int32_t> tail(words.end() - 44100 * 2, words.end());
    EXPECT_EQ(Played(test::ReadWrittenStream(LastOut()), tail.size()), tail);
}

TEST_F(PlayCommandTest, ShufflePlaysEveryEntryOnce)
{
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) {
        AddWave(name, 44100, 16, 2205);
    }
    const auto shuffled = Render({"--shuffle"});
    EXPECT_EQ(shuffled.status, 0) << shuffled.err;
    EXPECT_NE(shuffled.out.find("tracks: 4,"), std::string::npos) << shuffled.out;
    for (const char* name : {"a.wav", "b.wav", "c.wav", "d.wav"}) {
        const std::string line = std::string(": ") + name + " [";
        const size_t at = shuffled.out.find(line);
        EXPECT_NE(at, std::string::npos) << name;
        EXPECT_EQ(shuffled.out.find(line, at + 1), std::string::npos) << name << " played twice";
    }
}

TEST_F(PlayCommandTest, PluginFormatsPlayBitPerfectAndJoinWithinAFormat)
{
    // FLAC and AIFF made from WAVE files by the flac program and sox: the same samples come out.
    auto joined = test::ExpectedWords(AddWave("a.wav", 96000, 24, 30000), 24);
    const auto second = test::ExpectedWords(AddWave("b.wav", 96000, 24, 20000), 24);
    joined.insert(joined.end(), second.begin(), second.end());
    const auto aiff = test::ExpectedWords(AddWave("c.wav", 44100, 16, 10000), 16);
    for (const char* name : {"a", "b"}) {
        const auto wave = dir_.Path() / (std::string(name) + ".wav");
        ASSERT_TRUE(test::Shell("flac -s -f -o '" + (dir_.Path() / (std::string(name) + ".flac")).string() + "' '" +
            wave.string() + "'"));
    }
    ASSERT_TRUE(test::Shell("sox '" + (dir_.Path() / "c.wav").string() + "' '" + (dir_.Path() / "c.aiff").string() + "'"));
    files_ = {(dir_.Path() / "a.flac").string(), (dir_.Path() / "b.flac").string(), (dir_.Path() / "c.aiff").string()};

    const auto result = Render();
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("tracks: 3, underruns: 0"), std::string::npos) << result.out;
    EXPECT_EQ(Played(test::ReadWrittenStream(Out(1)), joined.size()), joined);
    EXPECT_EQ(Played(test::ReadWrittenStream(Out(2)), aiff.size()), aiff);
}

TEST_F(PlayCommandTest, ADsfAfterADffRestartsTheOutput)
{
    const std::vector<uint8_t> left(2822400 / 8 / 4, 0x5A);
    const std::vector<uint8_t> right(left.size(), 0xA5);
    std::vector<uint8_t> interleaved;
    for (size_t i = 0; i < left.size(); ++i) {
        interleaved.insert(interleaved.end(), {left[i], right[i]});
    }
    files_.push_back(dir_.Write("a.dff", test::DffBuilder().Properties(2822400, 2).Sound(interleaved).Build()).string());
    files_.push_back(dir_.Write("b.dsf", test::DsfBuilder({}, {left, right}).Build()).string());

    const auto result = Render({"--dsd", "native", "--type", "32"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("tracks: 2, underruns: 0"), std::string::npos) << result.out;
    EXPECT_TRUE(std::filesystem::exists(Out(2))) << "the output is restarted between the two kinds of file";
}

TEST_F(PlayCommandTest, ErrorsAreReportedAndSetTheStatus)
{
    AddWave("good.wav", 44100, 16, 4410);
    files_.push_back(dir_.Write("broken.wav", std::vector<uint8_t>{'R', 'I', 'F', 'F', 1, 0, 0, 0}).string());
    const auto broken = Render();
    EXPECT_EQ(broken.status, 0) << "a file that cannot be opened is not added: " << broken.err;
    EXPECT_NE(broken.err.find("skipped: " + files_.back()), std::string::npos);

    const auto noDevice = RunProgram("sonavel-cli", {"play", files_.front()}, Environment());
    EXPECT_EQ(noDevice.status, 1);
    EXPECT_NE(noDevice.err.find("No output device has been selected."), std::string::npos) << noDevice.err;

    const auto missing = RunProgram("sonavel-cli", {"play", "--device", "No Such Device", files_.front()}, Environment());
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("error: "), std::string::npos) << missing.err;

    const auto refused = RunProgram("sonavel-cli", {"render", "--out", Out(1).string(), "--type", "18",
        "--speed", "0"}, Environment());
    EXPECT_EQ(refused.status, 2);
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"render", files_.front()}, {"play", "--repeat", "sometimes", files_.front()},
             {"play", "--dsd", "dsf", files_.front()}, {"play", "--seek", "-1", files_.front()}}) {
        EXPECT_EQ(RunProgram("sonavel-cli", args, Environment()).status, 2) << args[1];
    }
}

} // namespace
} // namespace sonavel
