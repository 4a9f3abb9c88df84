#include "core/PlayOrder.h"
#include "engine/PlayerMessages.h"
#include "tests/engine/PlaybackTestHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

namespace sonavel {
namespace {

using test::PlaybackHarness;
using test::ExpectStreamHolds;
using test::PlaybackRecorder;
using test::Stopped;
using test::WrittenStream;

struct BitPerfectCase {
    uint32_t rate;
    uint16_t bits;
    bool ramMode;
};

class BitPerfectTest : public ::testing::TestWithParam<BitPerfectCase> { };

TEST_P(BitPerfectTest, PlaysTheSourceSamplesExactlyAfterTheLeadIn)
{
    const BitPerfectCase c = GetParam();
    PlaybackHarness harness;
    const auto samples = harness.AddWave("a.wav", c.rate, c.bits, c.rate / 2, 3);
    harness.Start(c.ramMode);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    EXPECT_EQ(harness.Recorder().Count(kPlayerEventStarted), 1);
    EXPECT_TRUE(harness.Recorder().Errors().empty());
    // The lead-in travels through the queues like the track itself.
    EXPECT_EQ(harness.Player().DeliveredSamples(), c.rate / 2 + c.rate / 10);
    EXPECT_EQ(harness.Player().Underruns(), 0u);
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), test::ExpectedWords(samples, c.bits), c.rate);
}

INSTANTIATE_TEST_SUITE_P(Formats, BitPerfectTest,
    ::testing::Values(BitPerfectCase{44100, 16, false}, BitPerfectCase{44100, 24, false},
        BitPerfectCase{96000, 16, false}, BitPerfectCase{96000, 24, false}, BitPerfectCase{44100, 16, true},
        BitPerfectCase{96000, 24, true}));

TEST(GaplessTest, TracksOfOneRateJoinSampleContinuously)
{
    PlaybackHarness harness;
    const auto first = harness.AddWave("a.wav", 44100, 16, 44100, 1);
    const auto second = harness.AddWave("b.wav", 44100, 16, 30000, 2);
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    ASSERT_EQ(harness.Recorder().Starts().size(), 2u);
    EXPECT_EQ(harness.Recorder().Starts()[1].entryIndex, 1);
    EXPECT_EQ(harness.Recorder().Count(kPlayerEventStopped), 1) << "no restart between the tracks";
    auto expected = test::ExpectedWords(first, 16);
    const auto tail = test::ExpectedWords(second, 16);
    expected.insert(expected.end(), tail.begin(), tail.end());
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), expected, 44100);
}

TEST(GaplessTest, ARateChangeRestartsTheOutputAtTheNewRate)
{
    PlaybackHarness harness;
    const auto first = harness.AddWave("a.wav", 44100, 16, 22050, 1);
    const auto second = harness.AddWave("b.wav", 48000, 24, 24000, 2);
    // Each start opens the device anew: what the first track left is taken when the second starts.
    WrittenStream firstOutput;
    harness.ReadOutputWhenStarting(1, firstOutput);
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    ASSERT_EQ(harness.Recorder().Starts().size(), 2u);
    ExpectStreamHolds(firstOutput, test::ExpectedWords(first, 16), 44100);
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), test::ExpectedWords(second, 24), 48000);
}

TEST(GaplessTest, APlaylistEditReplacesThePreparedTrack)
{
    PlaybackHarness harness(2);
    const auto first = harness.AddWave("a.wav", 44100, 16, 44100, 1);
    const auto last = harness.AddWave("b.wav", 44100, 16, 20000, 2);
    harness.Start(false);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor([](const PlaybackRecorder& r) { return r.lastTrackSeconds >= 0; }));
    // The entry inserted after the playing one follows it instead of the prepared one.
    const auto inserted = harness.AddWave("c.wav", 44100, 16, 20000, 3);
    MusicTrackInfo entry;
    harness.Playlist().Store().GetEntry(2, &entry);
    harness.Playlist().Store().Remove(2);
    harness.Playlist().Store().InsertAt(entry, 1);
    harness.Post(WM_PLAYER_PLAYLIST_CHANGED);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    ASSERT_EQ(harness.Recorder().Starts().size(), 3u);
    auto expected = test::ExpectedWords(first, 16);
    for (const auto* samples : {&inserted, &last}) {
        const auto words = test::ExpectedWords(*samples, 16);
        expected.insert(expected.end(), words.begin(), words.end());
    }
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), expected, 44100);
}

class TransportTest : public ::testing::TestWithParam<bool> { };

TEST_P(TransportTest, SeekRestartsTheOutputAtTheTargetSecond)
{
    PlaybackHarness harness(2);
    const auto samples = harness.AddWave("a.wav", 44100, 16, 44100 * 3, 5);
    harness.Start(GetParam());
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor([](const PlaybackRecorder& r) { return !r.starts.empty(); }));
    // A burst of seeks collapses to the last one.
    harness.Post(WM_PLAYER_SEEK, 1);
    harness.Post(WM_PLAYER_SEEK, 2);
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    const auto all = test::ExpectedWords(samples, 16);
    const std::vector<int32_t> fromTwoSeconds(all.begin() + 44100 * 2 * 2, all.end());
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), fromTwoSeconds, 44100);
}

TEST_P(TransportTest, PauseResumeAndStopReportTheirEvents)
{
    PlaybackHarness harness(2);
    harness.AddWave("a.wav", 44100, 16, 44100 * 6, 5);
    harness.Start(GetParam());
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    // A pause before the output runs is lost, so the test waits for the time to move.
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.lastTrackSeconds >= 1; }));
    harness.Post(WM_PLAYER_PAUSE, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventPaused) == 1; }));
    EXPECT_EQ(harness.Player().PlayState(), kPlayPaused);
    // Seeking while paused moves the position and stays paused.
    harness.Post(WM_PLAYER_SEEK, 2);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.lastTrackSeconds == 2; }));
    EXPECT_EQ(harness.Player().PlayState(), kPlayPaused);
    // Play of the paused entry resumes it.
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventResumed) == 1; }));
    EXPECT_EQ(harness.Player().PlayState(), kPlayPlaying);
    EXPECT_EQ(recorder.Starts().size(), 1u);
    harness.Post(WM_PLAYER_STOP, 1);
    ASSERT_TRUE(recorder.WaitFor(Stopped));
    EXPECT_EQ(harness.Player().PlayState(), kPlayStopped);
}

TEST(RamModeTest, PlayingTheLoadedTrackAgainReusesItsData)
{
    PlaybackHarness harness;
    const auto samples = harness.AddWave("a.wav", 44100, 16, 22050, 4);
    harness.Start(true);
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor(Stopped));
    const int loadingEvents = recorder.Count(kPlayerEventLoading);
    EXPECT_GE(loadingEvents, 2) << "progress from 1 to 100 percent";
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventStopped) == 2; }));
    EXPECT_EQ(recorder.Count(kPlayerEventLoading), loadingEvents) << "nothing was loaded again";
    EXPECT_EQ(recorder.Starts().size(), 2u);
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), test::ExpectedWords(samples, 16), 44100);
}

INSTANTIATE_TEST_SUITE_P(StreamingAndRam, TransportTest, ::testing::Values(false, true));

TEST(PlayOrderMovesTest, NextAtTheEndStopsAndPreviousAtTheStartStops)
{
    PlaybackHarness harness(1);
    harness.AddWave("a.wav", 44100, 16, 44100 * 4, 1);
    harness.AddWave("b.wav", 44100, 16, 44100 * 4, 2);
    harness.Start(false);
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 1; }));
    harness.Post(WM_PLAYER_NEXT, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 2; }));
    EXPECT_EQ(recorder.Starts()[1].entryIndex, 1);
    harness.Post(WM_PLAYER_NEXT, 1);
    ASSERT_TRUE(recorder.WaitFor(Stopped));
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 3; }));
    harness.Post(WM_PLAYER_PREVIOUS, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventStopped) == 2; }));
}

TEST(PlayOrderMovesTest, RepeatPlaylistWrapsNextAtTheEnd)
{
    PlaybackHarness harness(1);
    harness.AddWave("a.wav", 44100, 16, 44100 * 4, 1);
    harness.AddWave("b.wav", 44100, 16, 44100 * 4, 2);
    harness.Start(false);
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_REPEAT, kRepeatPlaylist);
    harness.Post(WM_PLAYER_PLAY, 1, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 1; }));
    harness.Post(WM_PLAYER_NEXT, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 2; }));
    EXPECT_EQ(recorder.Starts()[1].entryIndex, 0);
}

TEST(PlayOrderMovesTest, RepeatTitlePlaysTheTrackAgainAtItsEnd)
{
    PlaybackHarness harness;
    harness.AddWave("a.wav", 44100, 16, 8820, 1);
    harness.AddWave("b.wav", 44100, 16, 8820, 2);
    harness.Start(false);
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_REPEAT, kRepeatTitle);
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() >= 3; }));
    harness.Post(WM_PLAYER_STOP, 1);
    ASSERT_TRUE(recorder.WaitFor(Stopped));
    for (const PlayStartInfo& start : recorder.Starts()) {
        EXPECT_EQ(start.entryIndex, 0);
    }
}

TEST(PlayOrderMovesTest, AnUnplayableEntryIsSkippedWithItsMessage)
{
    PlaybackHarness harness;
    harness.AddBroken("broken.wav");
    const auto samples = harness.AddWave("b.wav", 44100, 16, 22050, 2);
    harness.Start(false);
    auto& recorder = harness.Recorder();
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.starts.size() == 1; }));
    EXPECT_EQ(recorder.Starts()[0].entryIndex, 1);
    ASSERT_TRUE(recorder.WaitFor([](const PlaybackRecorder& r) { return r.Count(kPlayerEventStopped) >= 2; }));
    EXPECT_FALSE(recorder.Errors().empty());
    ExpectStreamHolds(test::ReadWrittenStream(harness.LastOutput()), test::ExpectedWords(samples, 16), 44100);
}

TEST(WatchdogTest, ADriverThatStopsCallingBackEndsInTheStoppedState)
{
    PlaybackHarness harness;
    harness.AddWave("a.wav", 44100, 16, 44100 * 30, 1);
    harness.Start(false, u"Silent Driver");
    harness.Post(WM_PLAYER_PLAY, 0, kPlayDeselectAll);
    ASSERT_TRUE(harness.Recorder().WaitFor([](const PlaybackRecorder& r) { return !r.starts.empty(); }));
    const auto started = std::chrono::steady_clock::now();
    ASSERT_TRUE(harness.Recorder().WaitFor(Stopped));
    // 40 timer periods of grace after a start.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    EXPECT_EQ(harness.Player().PlayState(), kPlayStopped);
}

} // namespace
} // namespace sonavel
