// The renderer on its own, fed by the test: its output runs dry in the middle of a DSD track, and
// what it plays meanwhile must be DSD silence that a DAC stays locked to.
#include "engine/DecodedDataQueue.h"
#include "engine/PlayerMessages.h"
#include "engine/WaveDataPlay.h"
#include "tests/engine/DsdStreams.h"
#include "tests/engine/PlaybackTestHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace sonavel {
namespace {

constexpr uint32_t kDsd64 = 2822400;
constexpr uint32_t kWordRate = kDsd64 / 32;
constexpr uint16_t kChannels = 2;

// The playback thread's side of the renderer, played by the test: one DSD64 track in slot 0 whose
// frames the test hands over when it likes.
class ScriptedTrack final : public ITrackSlotSource, public IRendererEvents {
public:
    ScriptedTrack()
    {
        format_.wFormatTag = 1;
        format_.nChannels = kChannels;
        format_.nSamplesPerSec = kWordRate;
        format_.nBlockAlign = 4 * kChannels;
        format_.nAvgBytesPerSec = kWordRate * format_.nBlockAlign;
        format_.wBitsPerSample = 32;
        decoded_->InitStorage(format_.nBlockAlign, uint64_t{8} * kWordRate);
    }

    // Frames of native words: four bytes of each channel in turn.
    void Deliver(const std::vector<std::vector<uint8_t>>& channels, size_t firstWord, size_t words)
    {
        std::vector<uint8_t> frames;
        for (size_t word = firstWord; word < firstWord + words; ++word) {
            for (const auto& channel : channels) {
                frames.insert(frames.end(), channel.begin() + static_cast<std::ptrdiff_t>(4 * word),
                    channel.begin() + static_cast<std::ptrdiff_t>(4 * word + 4));
            }
        }
        ASSERT_EQ(decoded_->Push(frames.data(), static_cast<uint32_t>(words)), 1);
    }
    void Complete() { state_ = kSlotComplete; }
    bool WaitForTrackEnd()
    {
        std::unique_lock lock(mutex_);
        return ended_.wait_for(lock, std::chrono::seconds(20), [this] { return trackEnded_; });
    }

    int32_t SlotState(int slot) const override { return slot == 0 ? state_.load() : kSlotIdle; }
    void SetSlotIdle(int slot) override
    {
        if (slot == 0) {
            state_ = kSlotIdle;
        }
    }
    bool IsStreaming() const override { return true; }
    bool ReadSlotFormat(int slot, WAVEFORMATEX& format, bool& isDsd) override
    {
        if (slot != 0) {
            return false;
        }
        format = format_;
        isDsd = true;
        return true;
    }
    std::shared_ptr<IDecodedData> Decoded(int slot) override { return slot == 0 ? decoded_ : nullptr; }

    void PostToPlayer(uint32_t message, uintptr_t, intptr_t) override
    {
        if (message == WM_PLAYER_TRACK_END) {
            std::lock_guard lock(mutex_);
            trackEnded_ = true;
            ended_.notify_all();
        }
    }
    void ReportElapsed(uint32_t) override { }
    void ReportError(const std::u16string&) override { ADD_FAILURE() << "the renderer reported an error"; }

private:
    WAVEFORMATEX format_{};
    std::shared_ptr<IDecodedData> decoded_ = std::make_shared<CDecodedDataQueue>();
    std::atomic<int32_t> state_{kSlotLoading};
    std::mutex mutex_;
    std::condition_variable ended_;
    bool trackEnded_ = false;
};

// The renderer reports underruns only as a count: the test looks at it until it moves.
bool Eventually(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

struct UnderrunCase {
    bool native;
    int32_t type;
    int bufferSize; // an odd one makes every silent half an odd number of DoP words
};

class DsdUnderrunTest : public ::testing::TestWithParam<UnderrunCase> { };

TEST_P(DsdUnderrunTest, TheGapIsDsdSilenceAndTheStreamGoesOnUnbroken)
{
    const UnderrunCase c = GetParam();
    test::FileWriterSetup setup;
    setup.speed = 4;
    setup.type = c.type;
    setup.bufferSize = c.bufferSize;
    test::FileWriterOutput output(setup);
    auto settings = std::make_shared<OutputSettingsStore>();
    OutputSettings values;
    values.deviceName = u"File Writer";
    values.decodeMode = c.native ? kDecodeModeNativeDsd : 0;
    settings->Set(values);
    ScriptedTrack track;
    CWaveDataPlay renderer(output.Wrapper(), settings, track, track);

    // Three runs of a fifth of a second, the output running dry after the first and the second.
    // Each run is more than a chunk of words, so that some of it reaches the output at once.
    constexpr size_t kRuns = 3;
    const size_t words = kWordRate / 5;
    std::vector<std::vector<uint8_t>> channels;
    for (uint16_t channel = 0; channel < kChannels; ++channel) {
        channels.push_back(test::TrackBytes(4 * kRuns * words, 11 + channel));
        std::replace(channels.back().begin(), channels.back().end(), test::kDsdIdleByte, uint8_t{0x97});
    }
    track.Deliver(channels, 0, words);
    renderer.SetSlotFormat(kChannels, 4 * kChannels, true, false, kWordRate, true);
    MusicTrackInfo entry;
    ASSERT_EQ(renderer.StartOutput(entry, 32, false, kWordRate), 0);
    for (size_t run = 1; run < kRuns; ++run) {
        const uint64_t underruns = renderer.Underruns();
        ASSERT_TRUE(Eventually([&] { return renderer.Underruns() > underruns; }));
        const uint64_t delivered = renderer.DeliveredSamples();
        track.Deliver(channels, run * words, words);
        ASSERT_TRUE(Eventually([&] { return renderer.DeliveredSamples() > delivered; }));
    }
    const uint64_t underruns = renderer.Underruns();
    ASSERT_TRUE(Eventually([&] { return renderer.Underruns() > underruns; }));
    track.Complete();
    ASSERT_TRUE(track.WaitForTrackEnd());
    renderer.StopOutput(false);

    const test::DsdOutput written = test::ReadDsdOutput(output.LastOutput(), c.native);
    ASSERT_EQ(written.channels.size(), kChannels);
    for (uint16_t channel = 0; channel < kChannels; ++channel) {
        SCOPED_TRACE("channel " + std::to_string(channel));
        const auto& carried = written.channels[channel];
        test::ExpectCarries(carried, channels[channel], test::LeadInBytes(kDsd64), false);
        const auto isData = [](uint8_t byte) { return byte != test::kDsdIdleByte; };
        const auto first = std::find_if(carried.begin(), carried.end(), isData);
        const auto last = std::find_if(carried.rbegin(), carried.rend(), isData).base();
        EXPECT_GT(last - first, static_cast<std::ptrdiff_t>(channels[channel].size()))
            << "the gap is in the output";
    }
}

INSTANTIATE_TEST_SUITE_P(NativeAndDop, DsdUnderrunTest,
    ::testing::Values(UnderrunCase{false, ASIOSTInt32LSB, 509}, UnderrunCase{true, ASIOSTDSDInt8NER8, 512},
        UnderrunCase{true, ASIOSTDSDInt8LSB1, 512}),
    [](const ::testing::TestParamInfo<UnderrunCase>& info) {
        return (info.param.native ? "Native" : "Dop") + std::to_string(info.param.type) + "Buffer" +
            std::to_string(info.param.bufferSize);
    });

} // namespace
} // namespace sonavel
