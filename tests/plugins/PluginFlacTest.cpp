#include "tests/plugins/HostedPlugins.h"
#include "tests/support/Shell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include "sources/MusicResult.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace sonavel {
namespace {

using test::Shell;

struct FlacCase {
    uint16_t bits;
    uint16_t channels;
    uint32_t rate;
};

std::string Describe(const FlacCase& c)
{
    return std::to_string(c.bits) + "bit_" + std::to_string(c.channels) + "ch_" + std::to_string(c.rate);
}

// Tones with a little noise, so that the encoder uses its predictors and the residual coding, as
// the little-endian samples of a WAVE file (8-bit ones unsigned).
std::vector<uint8_t> MakeSamples(const FlacCase& c, uint32_t frames)
{
    const int bytes = (c.bits + 7) / 8;
    const double full = std::ldexp(1.0, c.bits - 1) - 1;
    std::vector<uint8_t> out;
    uint32_t noise = 12345;
    for (uint32_t n = 0; n < frames; ++n) {
        for (uint16_t ch = 0; ch < c.channels; ++ch) {
            noise = noise * 1103515245 + 12345;
            const double tone = std::sin(n * (0.01 + 0.003 * ch) + ch) * 0.6 + ((noise >> 16) % 1000) / 1000.0 * 0.1;
            auto v = static_cast<int64_t>(tone * full);
            if (c.bits == 8) {
                v += 128;
            }
            for (int b = 0; b < bytes; ++b) {
                out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * b)));
            }
        }
    }
    return out;
}

class PluginFlacTest : public ::testing::Test {
protected:
    std::filesystem::path Encode(const std::string& name, const FlacCase& c, const std::vector<uint8_t>& samples,
                                 const std::string& options = "")
    {
        const auto wave = dir_.Write(name + ".wav", test::WaveBuilder().Format(1, c.channels, c.rate, c.bits).Data(samples).Build());
        const auto flac = dir_.Path() / (name + ".flac");
        EXPECT_TRUE(Shell("flac -s -f --lax --channel-map=none " + options + " -o '" + flac.string() + "' '" + wave.string() + "'"));
        return flac;
    }

    test::TempDir dir_;
    test::HostedPlugins hosted_;
};

class PluginFlacLayoutTest : public PluginFlacTest, public ::testing::WithParamInterface<FlacCase> {};

TEST_P(PluginFlacLayoutTest, DecodesBitPerfectAndSeeksToTheExactSample)
{
    const FlacCase c = GetParam();
    constexpr uint32_t kFrames = 3 * 4096 + 1234;
    const auto samples = MakeSamples(c, kFrames);
    const auto file = Encode(Describe(c), c, samples);
    const uint32_t frameBytes = c.channels * ((c.bits + 7) / 8);

    const auto whole = hosted_.ReadThroughSource(file);
    ASSERT_EQ(whole.result, kResultOk);
    const WAVEFORMATEX& f = whole.info.format;
    EXPECT_EQ(whole.info.formatName, u"FLAC");
    EXPECT_EQ(f.wFormatTag, 1);
    EXPECT_EQ(f.nChannels, c.channels);
    EXPECT_EQ(f.nSamplesPerSec, c.rate);
    EXPECT_EQ(f.wBitsPerSample, 8 * ((c.bits + 7) / 8));
    EXPECT_EQ(f.nBlockAlign, frameBytes);
    EXPECT_EQ(whole.info.dataBytes, samples.size());
    EXPECT_EQ(whole.info.lengthFrames, (uint64_t{kFrames} * 75 + c.rate - 1) / c.rate);
    EXPECT_TRUE(whole.bytes == samples);

    int32_t opened = PPI_FAIL;
    auto plugin = hosted_.Open(file, &opened);
    ASSERT_EQ(opened, PPI_OK);
    // Forward, backward, across block boundaries, and the very end.
    for (const uint64_t first : {uint64_t{4097}, uint64_t{0}, uint64_t{4095}, uint64_t{kFrames / 2}, uint64_t{1}, uint64_t{kFrames - 7}}) {
        const uint64_t last = std::min<uint64_t>(first + 5000, kFrames - 1);
        const auto got = test::ReadRange(*plugin, first, last);
        const std::vector<uint8_t> want(samples.begin() + first * frameBytes, samples.begin() + (last + 1) * frameBytes);
        EXPECT_TRUE(got == want) << "from frame " << first;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PluginFlacLayoutTest,
                         ::testing::Values(FlacCase{16, 2, 44100}, FlacCase{16, 1, 48000}, FlacCase{24, 2, 384000},
                                           FlacCase{24, 6, 96000}, FlacCase{16, 8, 48000}, FlacCase{32, 2, 192000},
                                           FlacCase{24, 2, 768000}, FlacCase{8, 1, 8000}),
                         [](const auto& info) { return Describe(info.param); });

TEST_F(PluginFlacTest, VorbisCommentsGiveTitleAndArtist)
{
    const FlacCase c{16, 2, 44100};
    const auto plain = Encode("tagged", c, MakeSamples(c, 100), "-T 'Title=Größe ♫' -T 'ARTIST=Ærø' -T 'TITLE=second'");
    const auto tagged = hosted_.ReadThroughSource(plain);
    ASSERT_EQ(tagged.result, kResultOk);
    EXPECT_EQ(tagged.info.title, u"Größe ♫");
    EXPECT_EQ(tagged.info.artist, u"Ærø");

    // The player takes at most 510 bytes of a text: a longer one is cut at a character boundary
    // instead of making the file unplayable.
    std::string longTitle;
    for (int i = 0; i < 300; ++i) {
        longTitle += "é";
    }
    const auto cut = hosted_.ReadThroughSource(Encode("long", c, MakeSamples(c, 100), "-T 'TITLE=x" + longTitle + "'"));
    ASSERT_EQ(cut.result, kResultOk);
    EXPECT_EQ(cut.info.title, u"x" + std::u16string(254, u'é'));
}

TEST_F(PluginFlacTest, HostileFilesAreRefusedOrReadShortWithoutHarm)
{
    const FlacCase c{16, 2, 44100};
    const auto samples = MakeSamples(c, 20000);
    const auto good = test::ReadFileBytes(Encode("good", c, samples));
    auto patched = [&good](size_t at, std::vector<uint8_t> bytes) {
        auto out = good;
        std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
        return out;
    };
    // STREAMINFO's body starts at 8: block sizes, frame sizes, then rate/channels/bits/total samples.
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> refused = {
        {"empty", {}},
        {"magic only", {'f', 'L', 'a', 'C'}},
        {"not flac", std::vector<uint8_t>(4096, 0x5A)},
        {"header cut", std::vector<uint8_t>(good.begin(), good.begin() + 20)},
        {"unknown length", patched(8 + 13, {0xF0, 0, 0, 0, 0})},
        {"zero rate", patched(8 + 10, {0, 0, 0x01})},
        {"huge metadata block", patched(4, {0x00, 0xFF, 0xFF, 0xFF})},
    };
    for (const auto& [name, bytes] : refused) {
        int32_t result = PPI_OK;
        auto plugin = hosted_.Open(dir_.Write("bad.flac", bytes), &result);
        EXPECT_EQ(result, PPI_FAIL) << name;
        uint64_t frames = 0;
        EXPECT_EQ(plugin->GetTotalFrames(&frames), PPI_FAIL) << name;
        EXPECT_TRUE(test::ReadRange(*plugin, 0, 10).empty()) << name;
    }

    // A file cut inside the audio plays what it holds, sample for sample.
    const auto cut = hosted_.ReadThroughSource(dir_.Write("cut.flac", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)));
    ASSERT_EQ(cut.result, kResultOk);
    EXPECT_GT(cut.bytes.size(), 0u);
    EXPECT_LT(cut.bytes.size(), samples.size());
    EXPECT_TRUE(std::equal(cut.bytes.begin(), cut.bytes.end(), samples.begin()));

    // Damage in the middle of the audio: the reads fail or go on, but never crash.
    auto damaged = good;
    for (size_t i = good.size() / 3; i < good.size() / 3 + 200; ++i) {
        damaged[i] ^= 0xA5;
    }
    hosted_.ReadThroughSource(dir_.Write("damaged.flac", damaged));
}

} // namespace
} // namespace sonavel
