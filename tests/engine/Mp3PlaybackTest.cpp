// MP3 files made with lame, played through the playback thread and the file writer.
#include "engine/PlayerMessages.h"
#include "sources/MusicDataMP3.h"
#include "tests/engine/PlaybackTestHarness.h"
#include "tests/support/Mp3Fixtures.h"

#include <gtest/gtest.h>

#include <string>

namespace sonavel {
namespace {

using test::ExpectStreamHolds;
using test::PlaybackHarness;
using test::Stopped;

// An MP3 beside the WAVE file it is made from.
std::filesystem::path Encode(const std::filesystem::path& wave, const std::string& options)
{
    auto mp3 = wave;
    mp3.replace_extension(".mp3");
    EXPECT_TRUE(test::EncodeMp3(wave, mp3, options)) << options;
    return mp3;
}

// The file's samples as the source delivers them when opened with or without the threshold.
std::vector<uint8_t> DecodeOpened(const std::filesystem::path& mp3, bool useThreshold)
{
    CMusicDataMP3 source(false);
    MusicOpenParams params;
    params.path = mp3.u16string();
    params.useThreshold = useThreshold;
    params.thresholdDb = OutputSettings{}.thrGapless;
    MusicTrackInfo info;
    if (source.Open(&params) != 0 || source.GetTrackInfo(0, &info) != 0 ||
        source.SetRange(0, info.endFrame, 0) != 0) {
        ADD_FAILURE() << mp3 << " does not open";
        return {};
    }
    std::vector<uint8_t> samples;
    void* block = nullptr;
    uint32_t bytes = 0;
    while (source.ReadNext(&block, &bytes) == 0 && block != nullptr) {
        const auto* data = static_cast<const uint8_t*>(block);
        samples.insert(samples.end(), data, data + bytes);
        source.FreeBuffer(block);
    }
    return samples;
}

std::vector<int32_t> Words(const std::vector<uint8_t>& samples)
{
    return test::ExpectedWords(samples, 16);
}

void Append(std::vector<int32_t>& words, const std::vector<int32_t>& more)
{
    words.insert(words.end(), more.begin(), more.end());
}

TEST(Mp3PlaybackTest, AnAlbumCutIntoTracksPlaysAsOneStreamLikeMpg123JoinsIt)
{
    PlaybackHarness harness(10);
    const auto album = test::MakeWave(harness.Dir(), "album.wav", 44100, 2, 3.0);
    const char* cuts[][2] = {{"0", " 1.3"}, {"1.3", " 0.45"}, {"1.75", ""}};
    std::vector<uint8_t> joined;
    for (int i = 0; i < 3; ++i) {
        const auto part = harness.Dir().Path() / ("part" + std::to_string(i) + ".wav");
        ASSERT_TRUE(
            test::Shell("sox '" + album.string() + "' '" + part.string() + "' trim " + cuts[i][0] + cuts[i][1]));
        const auto mp3 = Encode(part, "-V 2");
        harness.AddFile(mp3);
        const auto gapless = test::DecodeWithMpg123(harness.Dir(), mp3);
        joined.insert(joined.end(), gapless.begin(), gapless.end());
    }
    ASSERT_EQ(joined.size(), test::RawSamples(harness.Dir(), album).size());
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    EXPECT_EQ(harness.Recorder().Starts().size(), 3u);
    EXPECT_EQ(harness.Output().Outputs().size(), 1u) << "no restart between the tracks";
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), Words(joined), 44100);
}

// Files without a LAME tag: the source measures their silence, with the gapless threshold only
// when the entry and the next one are both MP3.
class Mp3ThresholdTest : public ::testing::TestWithParam<bool> { };

TEST_P(Mp3ThresholdTest, ConsecutiveMp3EntriesOpenWithTheSilenceThreshold)
{
    const bool nextIsMp3 = GetParam();
    PlaybackHarness harness(10);
    const auto quietEnds = [&](const std::string& name) {
        const auto wave = harness.Dir().Path() / name;
        EXPECT_TRUE(test::Shell("sox -n -r 44100 -b 16 -c 2 '" + wave.string() +
            "' synth 0.6 sine 440 vol 0.5 pad 0.25 0.25"));
        return Encode(wave, "-t -b 128");
    };
    const auto first = quietEnds("a.wav");
    harness.AddFile(first);
    std::vector<int32_t> expected = Words(DecodeOpened(first, nextIsMp3));
    ASSERT_NE(expected.size(), Words(DecodeOpened(first, !nextIsMp3)).size())
        << "the threshold cuts the quiet ends";
    if (nextIsMp3) {
        const auto second = quietEnds("b.wav");
        harness.AddFile(second);
        Append(expected, Words(DecodeOpened(second, true)));
    } else {
        Append(expected, test::ExpectedWords(harness.AddWave("b.wav", 44100, 16, 22050, 1), 16));
    }
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    EXPECT_EQ(harness.Recorder().Starts().size(), 2u);
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), expected, 44100);
}

INSTANTIATE_TEST_SUITE_P(NextEntry, Mp3ThresholdTest, ::testing::Bool(),
    [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Mp3" : "Wave"; });

TEST(Mp3PlaybackTest, ARateChangeBetweenMp3FilesRestartsTheOutput)
{
    PlaybackHarness harness(10);
    const auto first = Encode(test::MakeWave(harness.Dir(), "a.wav", 44100, 2, 0.5), "-V 4");
    const auto second = Encode(test::MakeWave(harness.Dir(), "b.wav", 48000, 2, 0.5), "-V 4");
    harness.AddFile(first);
    harness.AddFile(second);
    test::WrittenStream firstOutput;
    harness.ReadOutputWhenStarting(1, firstOutput);
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    ASSERT_EQ(harness.Recorder().Starts().size(), 2u);
    ExpectStreamHolds(firstOutput, Words(test::DecodeWithMpg123(harness.Dir(), first)), 44100);
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()),
        Words(test::DecodeWithMpg123(harness.Dir(), second)), 48000);
}

} // namespace
} // namespace sonavel
