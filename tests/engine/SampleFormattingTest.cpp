#include "engine/ChannelWord.h"
#include "engine/DopMarker.h"
#include "engine/OutputSilence.h"
#include "engine/SampleConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <vector>

namespace sonavel {
namespace {

using Bytes = std::vector<uint8_t>;

WAVEFORMATEX Format(uint16_t tag, uint16_t channels, uint16_t bytesPerSample)
{
    WAVEFORMATEX format;
    format.wFormatTag = tag;
    format.nChannels = channels;
    format.nSamplesPerSec = 44100;
    format.nBlockAlign = static_cast<uint16_t>(channels * bytesPerSample);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    format.wBitsPerSample = static_cast<uint16_t>(8 * bytesPerSample);
    return format;
}

FetchDescriptor Block(const Bytes& data, const WAVEFORMATEX& format, uint8_t isDsd = 0, uint8_t dop = 0)
{
    FetchDescriptor block;
    block.data = data.data();
    block.format = format;
    block.frameCount = static_cast<uint32_t>(data.size() / format.nBlockAlign);
    block.isDsd = isDsd;
    block.dop = dop;
    return block;
}

// The toggle is process-wide and never reset, so tests that depend on it set it first.
void SetDopMarker(uint32_t state)
{
    if (DopMarkerState() != state) {
        FlipDopMarker();
    }
}

template <typename T>
Bytes BytesOf(T value)
{
    Bytes bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

TEST(ChannelWordTest, IntegerPcmIsLeftJustifiedFullScale)
{
    struct Case {
        Bytes sample;
        uint32_t word;
    };
    const std::vector<Case> cases{
        {{0x80}, 0x00000000},
        {{0xFF}, 0x7F000000},
        {{0x00}, 0x80000000},
        {{0x7F}, 0xFF000000},
        {{0x34, 0x12}, 0x12340000},
        {{0xFF, 0x7F}, 0x7FFF0000},
        {{0x00, 0x80}, 0x80000000},
        {{0xFF, 0xFF}, 0xFFFF0000},
        {{0x56, 0x34, 0x12}, 0x12345600},
        {{0x00, 0x00, 0x80}, 0x80000000},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {{0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFF},
        {{1, 2, 3, 4, 5}, 0x00000000},
    };
    for (const Case& test : cases) {
        const uint16_t size = static_cast<uint16_t>(test.sample.size());
        SCOPED_TRACE(testing::Message() << size << "-byte sample");
        EXPECT_EQ(Fetch(0, Block(test.sample, Format(WAVE_FORMAT_PCM, 1, size))), test.word);
    }
}

TEST(ChannelWordTest, FloatIsScaledClampedAndTruncatedTowardZero)
{
    struct Case {
        double value;
        uint32_t word;
    };
    const double step = 1.0 / 2147483648.0;
    const double infinity = std::numeric_limits<double>::infinity();
    const std::vector<Case> cases{
        {1.0, 0x7FFFFFFF},
        {-1.0, 0x80000000},
        {0.5, 0x40000000},
        {-0.5, 0xC0000000},
        {2.0, 0x7FFFFFFF},
        {-3.0, 0x80000000},
        {infinity, 0x7FFFFFFF},
        {-infinity, 0x80000000},
        {1.75 * step, 0x00000001},
        {-1.75 * step, 0xFFFFFFFF},
        {0.25 * step, 0x00000000},
        {-0.25 * step, 0x00000000},
        {std::numeric_limits<double>::quiet_NaN(), 0x00000000},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(testing::Message() << "value " << test.value);
        EXPECT_EQ(Fetch(0, Block(BytesOf(test.value), Format(WAVE_FORMAT_IEEE_FLOAT, 1, 8))), test.word);
        EXPECT_EQ(
            Fetch(0, Block(BytesOf(static_cast<float>(test.value)), Format(WAVE_FORMAT_IEEE_FLOAT, 1, 4))),
            test.word);
    }
    // Precision only a double carries.
    EXPECT_EQ(Fetch(0, Block(BytesOf(1.0 - step), Format(WAVE_FORMAT_IEEE_FLOAT, 1, 8))), 0x7FFFFFFFu);
    EXPECT_EQ(Fetch(0, Block(BytesOf(-1.0 + step), Format(WAVE_FORMAT_IEEE_FLOAT, 1, 8))), 0x80000001u);
    EXPECT_EQ(Fetch(0, Block(Bytes{0x00, 0x3C}, Format(WAVE_FORMAT_IEEE_FLOAT, 1, 2))), 0u);
}

TEST(ChannelWordTest, MonoFeedsTwoChannelsAndMissingSamplesAreSilence)
{
    const Bytes mono{0x34, 0x12, 0x78, 0x56};
    FetchDescriptor block = Block(mono, Format(WAVE_FORMAT_PCM, 1, 2));
    block.frameIndex = 1;
    EXPECT_EQ(Fetch(0, block), 0x56780000u);
    EXPECT_EQ(Fetch(1, block), 0x56780000u);
    for (uint32_t channel = 2; channel < 8; ++channel) {
        EXPECT_EQ(Fetch(channel, block), kPcmSilenceWord) << "channel " << channel;
    }
    block.frameIndex = 2;
    EXPECT_EQ(Fetch(0, block), kPcmSilenceWord);

    const Bytes stereo{0x01, 0x02, 0x03, 0x04};
    FetchDescriptor pair = Block(stereo, Format(WAVE_FORMAT_PCM, 2, 2));
    EXPECT_EQ(Fetch(1, pair), 0x04030000u);
    EXPECT_EQ(Fetch(2, pair), kPcmSilenceWord);
    pair.data = nullptr;
    EXPECT_EQ(Fetch(0, pair), kPcmSilenceWord);

    FetchDescriptor noChannels = Block(stereo, Format(WAVE_FORMAT_PCM, 1, 2));
    noChannels.format.nChannels = 0;
    EXPECT_EQ(Fetch(0, noChannels), kPcmSilenceWord);
}

TEST(ChannelWordTest, NativeDsdBytesPassUnchangedToTheDevice)
{
    // Three stereo frames of 4-byte DSD words, every byte different.
    Bytes source(24);
    for (size_t index = 0; index < source.size(); ++index) {
        source[index] = static_cast<uint8_t>(0x96 + 37 * index);
    }
    const FetchDescriptor block = Block(source, Format(WAVE_FORMAT_PCM, 2, 4), 1, 0);
    const SampleTypeRow& row = *FindSampleTypeRow(ASIOSTDSDInt8MSB1);
    for (uint32_t channel = 0; channel < 2; ++channel) {
        std::vector<uint32_t> words(4);
        FetchRun(channel, block, 0, words);
        EXPECT_EQ(words[3], kDsdSilenceWord) << "past the block";
        Bytes device(12);
        row.convertRun(device.data(), std::span(words).first(3));
        for (size_t frame = 0; frame < 3; ++frame) {
            const Bytes expected(source.begin() + 8 * frame + 4 * channel,
                                 source.begin() + 8 * frame + 4 * channel + 4);
            EXPECT_EQ(Bytes(device.begin() + 4 * frame, device.begin() + 4 * frame + 4), expected)
                << "channel " << channel << " frame " << frame;
        }
    }
    EXPECT_EQ(Fetch(2, block), kDsdSilenceWord);
}

// The renderer's silence is the silence word in the device's layout, like converted words: native
// DSD idles 1001 0110 in time order whatever the type, PCM is zero in every type.
TEST(ChannelWordTest, SilenceWordsFillBuffersInTheDeviceLayout)
{
    struct Case {
        int32_t type;
        uint32_t word;
        Bytes pattern;
    };
    const std::vector<Case> cases{
        {ASIOSTDSDInt8MSB1, kDsdSilenceWord, {0x96}},
        {ASIOSTDSDInt8LSB1, kDsdSilenceWord, {0x69}},
        {ASIOSTDSDInt8NER8, kDsdSilenceWord, {1, 0, 0, 1, 0, 1, 1, 0}},
        {ASIOSTInt32LSB, kPcmSilenceWord, {0}},
        {ASIOSTFloat64MSB, kPcmSilenceWord, {0}},
    };
    for (const Case& c : cases) {
        // Two whole samples and part of a third.
        const SampleTypeRow& row = *FindSampleTypeRow(c.type);
        Bytes target(2 * row.bytes + 3, 0xEE);
        FillSilenceWord(row, target, c.word);
        for (size_t index = 0; index < target.size(); ++index) {
            ASSERT_EQ(target[index], c.pattern[index % c.pattern.size()]) << "type " << c.type << " byte " << index;
        }
    }
}

TEST(ChannelWordTest, DopSplitsEachSourceWordUnderTheToggle)
{
    const Bytes source{0x11, 0x22, 0x33, 0x44};
    const FetchDescriptor block = Block(source, Format(WAVE_FORMAT_PCM, 1, 4), 1, 1);
    SetDopMarker(0);
    EXPECT_EQ(Fetch(0, block), 0x05112200u);
    EXPECT_EQ(SilenceWord(block), 0x05969600u);
    FlipDopMarker();
    EXPECT_EQ(Fetch(1, block), 0xFA334400u);
    EXPECT_EQ(SilenceWord(block), 0xFA969600u);
    EXPECT_EQ(Fetch(2, block), 0xFA969600u);

    // A DSD sample narrower than its word is not read past the block.
    const Bytes narrow{0x11, 0x22};
    EXPECT_EQ(Fetch(0, Block(narrow, Format(WAVE_FORMAT_PCM, 1, 2), 1, 1)), 0xFA969600u);
    EXPECT_EQ(Fetch(0, Block(narrow, Format(WAVE_FORMAT_PCM, 1, 2), 1, 0)), kDsdSilenceWord);
}

// The marker state that continues the alternation after a DoP word.
uint32_t MarkerStateAfter(uint32_t dopWord)
{
    return (dopWord >> 24) == kDopMarkerFirst ? 1u : 0u;
}

bool MarkersAlternate(const std::vector<uint32_t>& words)
{
    for (size_t index = 1; index < words.size(); ++index) {
        if (words[index] >> 24 != DopMarkerByte(MarkerStateAfter(words[index - 1]))) {
            return false;
        }
    }
    return true;
}

TEST(ChannelWordTest, DopMarkersAlternateAcrossBlocksAndSilence)
{
    SetDopMarker(1);
    const WAVEFORMATEX stereo = Format(WAVE_FORMAT_PCM, 2, 4);
    std::vector<Bytes> blocks;
    uint8_t next = 0;
    for (size_t frames : {3, 1, 5}) {
        Bytes data(8 * frames);
        for (uint8_t& byte : data) {
            byte = next++;
        }
        blocks.push_back(data);
    }

    // The feeder's walk: a lead-in without data, then the blocks, every channel per output frame.
    std::vector<std::vector<uint32_t>> sent(2);
    FetchDescriptor leadIn = Block({}, stereo, 1, 1);
    leadIn.data = nullptr;
    leadIn.frameCount = 2;
    std::vector<FetchDescriptor> walk{leadIn};
    for (const Bytes& data : blocks) {
        walk.push_back(Block(data, stereo, 1, 1));
    }
    for (FetchDescriptor& block : walk) {
        while (block.frameIndex < block.frameCount) {
            for (uint32_t channel = 0; channel < 2; ++channel) {
                sent[channel].push_back(Fetch(channel, block));
            }
            AdvanceOutputFrames(block, 1);
        }
    }
    // The renderer's silence after the track, going on from each channel's last word.
    const SampleTypeRow& row = *FindSampleTypeRow(ASIOSTInt32LSB);
    for (std::vector<uint32_t>& words : sent) {
        Bytes silence(12);
        const uint32_t after = FillDopSilence(row, silence, MarkerStateAfter(words.back()));
        for (size_t offset = 0; offset < silence.size(); offset += 4) {
            uint32_t word;
            std::memcpy(&word, silence.data() + offset, 4);
            words.push_back(word);
        }
        EXPECT_EQ(after, MarkerStateAfter(words.back()));
    }

    for (uint32_t channel = 0; channel < 2; ++channel) {
        const std::vector<uint32_t>& words = sent[channel];
        EXPECT_TRUE(MarkersAlternate(words)) << "channel " << channel;
        // The lead-in starts on the toggle's 0xFA and ends after three words, on a whole frame.
        EXPECT_EQ(words[0], 0xFA969600u);
        EXPECT_EQ(words[2], 0xFA969600u);
        // Every source byte arrives in order between the lead-in and the trailing silence.
        Bytes dsd;
        for (size_t index = 3; index < words.size() - 3; ++index) {
            dsd.push_back(static_cast<uint8_t>(words[index] >> 16));
            dsd.push_back(static_cast<uint8_t>(words[index] >> 8));
        }
        Bytes expected;
        for (const Bytes& data : blocks) {
            for (size_t frame = 0; frame < data.size() / 8; ++frame) {
                expected.insert(expected.end(), data.begin() + 8 * frame + 4 * channel,
                                data.begin() + 8 * frame + 4 * channel + 4);
            }
        }
        EXPECT_EQ(dsd, expected) << "channel " << channel;
    }
    EXPECT_EQ(DopMarkerState(), 0u) << "whole source frames leave the toggle where the lead-in left it";
}

TEST(ChannelWordTest, ContinueDopMarkersRemarksWordsAndKeepsTheirDsdBytes)
{
    std::vector<uint32_t> words{0x05112200, 0x05334400, 0xFA556600};
    EXPECT_EQ(ContinueDopMarkers(words, 1), 0u);
    EXPECT_EQ(words, (std::vector<uint32_t>{0xFA112200, 0x05334400, 0xFA556600}));
    EXPECT_EQ(ContinueDopMarkers(std::span(words).first(2), 0), 0u);
    EXPECT_EQ(words[0], 0x05112200u);
    EXPECT_EQ(ContinueDopMarkers({}, 1), 1u);
}

TEST(ChannelWordTest, FillDopSilenceWritesWholeSamplesInTheRowType)
{
    Bytes target(11, 0xEE);
    EXPECT_EQ(FillDopSilence(*FindSampleTypeRow(ASIOSTInt24LSB), target, 1), 0u);
    EXPECT_EQ(target, (Bytes{0x96, 0x96, 0xFA, 0x96, 0x96, 0x05, 0x96, 0x96, 0xFA, 0xEE, 0xEE}));
    Bytes wide(8);
    EXPECT_EQ(FillDopSilence(*FindSampleTypeRow(ASIOSTInt32LSB), wide, 0), 0u);
    EXPECT_EQ(wide, (Bytes{0x00, 0x96, 0x96, 0x05, 0x00, 0x96, 0x96, 0xFA}));
}

// One case per source kind; each is fetched word by word and as a run from both marker states,
// past the block's end.
TEST(ChannelWordTest, FetchRunEqualsFetchingFrameByFrame)
{
    struct Case {
        WAVEFORMATEX format;
        uint8_t isDsd;
        uint8_t dop;
    };
    const std::vector<Case> cases{
        {Format(WAVE_FORMAT_PCM, 2, 1), 0, 0},        {Format(WAVE_FORMAT_PCM, 2, 2), 0, 0},
        {Format(WAVE_FORMAT_PCM, 1, 3), 0, 0},        {Format(WAVE_FORMAT_PCM, 2, 4), 0, 0},
        {Format(WAVE_FORMAT_IEEE_FLOAT, 2, 4), 0, 0}, {Format(WAVE_FORMAT_IEEE_FLOAT, 2, 8), 0, 0},
        {Format(WAVE_FORMAT_PCM, 2, 4), 1, 0},        {Format(WAVE_FORMAT_PCM, 2, 4), 1, 1},
        {Format(WAVE_FORMAT_PCM, 2, 6), 0, 0},        {Format(WAVE_FORMAT_PCM, 1, 5), 0, 0},
    };
    for (const Case& test : cases) {
        // Exactly five frames, so that a read past the block shows under the address sanitizer.
        Bytes data(5 * test.format.nBlockAlign);
        for (size_t index = 0; index < data.size(); ++index) {
            data[index] = static_cast<uint8_t>(index * 29 + 3);
        }
        for (uint32_t marker : {0u, 1u}) {
            for (uint32_t channel = 0; channel < 3; ++channel) {
                for (size_t length : {3, 12}) {
                    SCOPED_TRACE(testing::Message()
                                 << "block align " << test.format.nBlockAlign << " dsd " << int{test.isDsd}
                                 << " dop " << int{test.dop} << " marker " << marker << " channel " << channel
                                 << " length " << length);
                    FetchDescriptor block = Block(data, test.format, test.isDsd, test.dop);
                    block.frameIndex = 1;
                    std::vector<uint32_t> run(length);
                    FetchRun(channel, block, marker, run);
                    SetDopMarker(marker);
                    std::vector<uint32_t> oneByOne;
                    for (size_t frame = 0; frame < run.size(); ++frame) {
                        oneByOne.push_back(Fetch(channel, block));
                        AdvanceOutputFrames(block, 1);
                    }
                    EXPECT_EQ(run, oneByOne);
                }
            }
        }
    }
}

TEST(ChannelWordTest, AdvanceMovesDopBySourceFrames)
{
    const Bytes source(16);
    FetchDescriptor block = Block(source, Format(WAVE_FORMAT_PCM, 1, 4), 1, 1);
    SetDopMarker(0);
    AdvanceOutputFrames(block, 3);
    EXPECT_EQ(block.frameIndex, 1u);
    EXPECT_EQ(DopMarkerState(), 1u);
    AdvanceOutputFrames(block, 1);
    EXPECT_EQ(block.frameIndex, 2u);
    EXPECT_EQ(DopMarkerState(), 0u);
    FetchDescriptor pcm = Block(source, Format(WAVE_FORMAT_PCM, 1, 4));
    AdvanceOutputFrames(pcm, 3);
    EXPECT_EQ(pcm.frameIndex, 3u);
    EXPECT_EQ(DopMarkerState(), 0u);
}

TEST(ChannelWordTest, ToggleFlipsFromSeveralThreadsAreNotLost)
{
    SetDopMarker(0);
    auto flip = [] {
        for (int count = 0; count < 10001; ++count) {
            FlipDopMarker();
        }
    };
    std::thread first(flip);
    std::thread second(flip);
    std::thread third(flip);
    first.join();
    second.join();
    third.join();
    EXPECT_EQ(DopMarkerState(), 1u);
}

} // namespace
} // namespace sonavel
