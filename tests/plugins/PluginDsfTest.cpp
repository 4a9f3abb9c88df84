#include "tests/plugins/HostedPlugins.h"
#include "tests/support/DffBuilder.h"
#include "tests/support/DsfBuilder.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include "sources/MusicResult.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace sonavel {
namespace {

using test::DsfBuilder;
using test::DsfLayout;

uint8_t Reversed(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r = static_cast<uint8_t>(r | ((b >> i) & 1) << (7 - i));
    }
    return r;
}

// Distinct bytes for every channel and position.
std::vector<std::vector<uint8_t>> ChannelBytes(uint32_t channels, size_t length)
{
    std::vector<std::vector<uint8_t>> out(channels);
    for (uint32_t c = 0; c < channels; ++c) {
        for (size_t k = 0; k < length; ++k) {
            out[c].push_back(static_cast<uint8_t>((k * 7 + c * 61 + k / 251) ^ (k >> 8)));
        }
    }
    return out;
}

// The same sound as DSDIFF stores it: interleaved by byte, earliest sample in the top bit.
std::vector<uint8_t> DffSound(const std::vector<std::vector<uint8_t>>& channels, bool lsbFirst)
{
    std::vector<uint8_t> out;
    for (size_t k = 0; k < channels[0].size(); ++k) {
        for (const auto& bytes : channels) {
            out.push_back(lsbFirst ? Reversed(bytes[k]) : bytes[k]);
        }
    }
    return out;
}

template <typename T>
void Put(std::vector<uint8_t>& file, size_t at, T value)
{
    std::memcpy(file.data() + at, &value, sizeof value);
}

class PluginDsfTest : public ::testing::Test {
protected:
    test::HostedPlugins::Instance Open(const std::string& name, const std::vector<uint8_t>& file, int32_t expected = PPI_OK)
    {
        int32_t result = PPI_FAIL;
        auto plugin = hosted_.Open(dir_.Write(name, file), &result);
        EXPECT_EQ(result, expected) << name;
        return plugin;
    }

    test::TempDir dir_;
    test::HostedPlugins hosted_;
};

TEST_F(PluginDsfTest, DeliversTheWordsOfTheSameSoundInDsdiffInBothLayouts)
{
    struct Case {
        DsfLayout layout;
        size_t channelBytes;
    };
    // Two whole blocks and a part of a third per channel.
    for (const Case& c : {Case{{1, 1, 2822400, 1}, 9192}, Case{{2, 2, 2822400, 1}, 9192}, Case{{7, 6, 5644800, 1}, 9192},
                          Case{{5, 4, 22579200, 1}, 4100}, Case{{3, 3, 11289600, 8}, 9192}, Case{{6, 5, 3072000, 1}, 4096}}) {
        const std::string name = std::to_string(c.layout.channels) + "ch-" + std::to_string(c.layout.rate) + "-" + std::to_string(c.layout.bitsPerSample);
        const auto channels = ChannelBytes(c.layout.channels, c.channelBytes);
        auto dsf = Open(name + ".dsf", DsfBuilder(c.layout, channels).Build());
        auto dff = Open(name + ".dff", test::DffBuilder()
                                           .Properties(c.layout.rate, static_cast<uint16_t>(c.layout.channels))
                                           .Sound(DffSound(channels, c.layout.bitsPerSample == 1))
                                           .Build());
        for (const int32_t mode : {PPI_MODE_NATIVE_DSD, PPI_MODE_DSD_OVER_PCM}) {
            ASSERT_EQ(dsf->SetOutputMode(mode), PPI_OK);
            ASSERT_EQ(dff->SetOutputMode(mode), PPI_OK);
            PpiWaveFormat a{}, b{};
            dsf->GetFormat(&a);
            dff->GetFormat(&b);
            EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << name;
            uint64_t frames = 0, dffFrames = 0, bytes = 0, dffBytes = 0;
            ASSERT_EQ(dsf->GetTotalFrames(&frames), PPI_OK);
            dff->GetTotalFrames(&dffFrames);
            dsf->GetTotalBytes(&bytes);
            dff->GetTotalBytes(&dffBytes);
            EXPECT_EQ(frames, c.channelBytes / (mode == PPI_MODE_NATIVE_DSD ? 4 : 2)) << name;
            EXPECT_EQ(frames, dffFrames) << name;
            EXPECT_EQ(bytes, dffBytes) << name;
            for (const auto& [first, last] : {std::pair<uint64_t, uint64_t>{0, frames - 1}, {frames / 3, frames / 3 + 700}, {frames - 2, frames + 5}}) {
                const auto got = test::ReadRange(*dsf, first, last);
                EXPECT_FALSE(got.empty()) << name;
                EXPECT_TRUE(got == test::ReadRange(*dff, first, last)) << name << " mode " << mode << " from " << first;
            }
        }
    }
}

TEST_F(PluginDsfTest, LsbFirstBytesBecomeEarliestBitFirstWords)
{
    // 0x48 0x2C and 0x6A 0x1E are 0x12 0x34 and 0x56 0x78 with their bit order reversed.
    auto plugin = Open("known.dsf", DsfBuilder({}, {{0x48, 0x2C, 0x01, 0x80}, {0x6A, 0x1E, 0xF0, 0x0F}}).Build());
    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_DSD_OVER_PCM), PPI_OK);
    EXPECT_EQ(test::ReadRange(*plugin, 0, 1), (std::vector<uint8_t>{0x00, 0x34, 0x12, 0x05, 0x00, 0x78, 0x56, 0x05,
                                                                     0x00, 0x01, 0x80, 0xFA, 0x00, 0xF0, 0x0F, 0xFA}));
    ASSERT_EQ(plugin->SetOutputMode(PPI_MODE_NATIVE_DSD), PPI_OK);
    EXPECT_EQ(test::ReadRange(*plugin, 0, 0), (std::vector<uint8_t>{0x12, 0x34, 0x80, 0x01, 0x56, 0x78, 0x0F, 0xF0}));
}

TEST_F(PluginDsfTest, HostSourceTextsAndSampleCount)
{
    const auto channels = ChannelBytes(2, 4096 * 3);
    const auto tag = test::MakeId3Tag({{"TIT2", 3, {'D', 'S', 'F', ' ', 't', 'i', 't', 'l', 'e'}}, {"TPE1", 0, {'A', 'r', 't'}}});
    // The sample count ends inside the third block: its padding is not sound.
    const auto file = dir_.Write("tagged.dsf", DsfBuilder({}, channels).SampleCount(8 * 10000 - 5).Id3(tag).Build());
    const auto got = hosted_.ReadThroughSource(file);
    ASSERT_EQ(got.result, kResultOk);
    EXPECT_EQ(got.info.formatName, u"DSF");
    EXPECT_EQ(got.info.title, u"DSF title");
    EXPECT_EQ(got.info.artist, u"Art");
    EXPECT_EQ(got.info.format.nSamplesPerSec, 88200u);
    EXPECT_EQ(got.info.format.wBitsPerSample, 32);
    EXPECT_EQ(got.info.dataBytes, 20000u);
    ASSERT_EQ(got.bytes.size(), 20000u);
    // The last native word of channel 1: bytes 9996..9999 of its sound, earliest first.
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(got.bytes[got.bytes.size() - 4 + k], Reversed(channels[1][9996 + k]));
    }

    // A metadata pointer past the end leaves the texts empty.
    auto wild = DsfBuilder({}, channels).Build();
    Put<uint64_t>(wild, 20, wild.size() + 100);
    auto plugin = Open("wild-pointer.dsf", wild);
    char title[512], artist[512];
    int32_t e1 = -1, e2 = -1;
    ASSERT_EQ(plugin->GetTitleArtist(title, sizeof title, &e1, artist, sizeof artist, &e2), PPI_OK);
    EXPECT_EQ(e1, 0);
}

TEST_F(PluginDsfTest, CutFilesPlayTheirWholeBlocksAndHostileOnesAreRefused)
{
    const auto channels = ChannelBytes(2, 4096 * 3);
    const auto good = DsfBuilder({}, channels).Build();
    // Cut inside the second channel's third block: that block group counts up to the cut.
    auto cut = std::vector<uint8_t>(good.begin(), good.begin() + DsfBuilder::kDataOffset + 4096 * 5 + 1000);
    auto plugin = Open("cut.dsf", cut);
    plugin->SetOutputMode(PPI_MODE_NATIVE_DSD);
    uint64_t frames = 0;
    ASSERT_EQ(plugin->GetTotalFrames(&frames), PPI_OK);
    EXPECT_EQ(frames, (4096 * 2 + 1000) / 4);
    EXPECT_EQ(test::ReadRange(*plugin, 0, frames - 1).size(), frames * 8);

    auto patched = [&good](size_t at, auto value) {
        auto out = good;
        Put(out, at, value);
        return out;
    };
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> refused = {
        {"empty", {}},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 40)},
        {"no data", std::vector<uint8_t>(good.begin(), good.begin() + DsfBuilder::kDataOffset)},
        {"not dsf", std::vector<uint8_t>(200, 'D')},
        {"zero channels", patched(DsfBuilder::kChannelsOffset, uint32_t{0})},
        {"channels against type", patched(DsfBuilder::kChannelsOffset, uint32_t{3})},
        {"channel type 8", patched(DsfBuilder::kChannelTypeOffset, uint32_t{8})},
        {"PCM rate", patched(28 + 28, uint32_t{44100})},
        {"4 bits per sample", patched(28 + 32, uint32_t{4})},
        {"zero block size", patched(28 + 44, uint32_t{0})},
        {"huge block size", patched(28 + 44, uint32_t{0xFFFFFFFF})},
        {"zero samples", patched(DsfBuilder::kSampleCountOffset, uint64_t{0})},
        {"huge header size", patched(4, uint64_t{0xFFFFFFFFFFFFFFF0})},
        {"huge fmt size", patched(28 + 4, uint64_t{0xFFFFFFFFFFFFFFF0})},
        {"data size below its header", patched(DsfBuilder::kDataSizeOffset, uint64_t{11})},
    };
    for (const auto& [name, bytes] : refused) {
        auto bad = Open("bad.dsf", bytes, PPI_FAIL);
        EXPECT_TRUE(test::ReadRange(*bad, 0, 10).empty()) << name;
    }
    // Huge sample counts and data sizes are bounded by the file.
    for (const auto& huge : {patched(DsfBuilder::kSampleCountOffset, uint64_t{0xFFFFFFFFFFFFFFFF}),
                             patched(DsfBuilder::kDataSizeOffset, uint64_t{0xFFFFFFFFFFFFFFFF})}) {
        auto big = Open("huge.dsf", huge);
        big->SetOutputMode(PPI_MODE_NATIVE_DSD);
        ASSERT_EQ(big->GetTotalFrames(&frames), PPI_OK);
        EXPECT_EQ(frames, 4096u * 3 / 4);
    }
}

} // namespace
} // namespace sonavel
