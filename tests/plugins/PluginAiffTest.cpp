#include "tests/plugins/HostedPlugins.h"
#include "tests/support/DffBuilder.h"
#include "tests/support/Shell.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaveBuilder.h"

#include "sources/MusicResult.h"

#include <gtest/gtest.h>

#include <bit>
#include <string>

namespace sonavel {
namespace {

using test::AppendBe;
using test::Shell;

// An 80-bit extended number holding an integer rate.
std::vector<uint8_t> Extended(uint32_t rate)
{
    const int top = std::bit_width(rate) - 1;
    std::vector<uint8_t> out;
    AppendBe(out, 16383 + top, 2);
    AppendBe(out, uint64_t{rate} << (63 - top), 8);
    return out;
}

std::vector<uint8_t> AiffChunk(const std::string& id, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> chunk(id.begin(), id.end());
    AppendBe(chunk, body.size(), 4);
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        chunk.push_back(0);
    }
    return chunk;
}

std::vector<uint8_t> Common(uint16_t channels, uint32_t frames, uint16_t bits, const std::vector<uint8_t>& rate,
                            const std::string& compression = "")
{
    std::vector<uint8_t> body;
    AppendBe(body, channels, 2);
    AppendBe(body, frames, 4);
    AppendBe(body, bits, 2);
    body.insert(body.end(), rate.begin(), rate.end());
    if (!compression.empty()) {
        body.insert(body.end(), compression.begin(), compression.end());
        body.insert(body.end(), {0, 0});
    }
    return AiffChunk("COMM", body);
}

std::vector<uint8_t> Sound(const std::vector<uint8_t>& samples, uint32_t offset = 0)
{
    std::vector<uint8_t> body;
    AppendBe(body, offset, 4);
    AppendBe(body, 0, 4);
    body.insert(body.end(), offset, 0);
    body.insert(body.end(), samples.begin(), samples.end());
    return AiffChunk("SSND", body);
}

std::vector<uint8_t> Form(const std::string& type, const std::vector<std::vector<uint8_t>>& chunks)
{
    std::vector<uint8_t> body(type.begin(), type.end());
    for (const auto& chunk : chunks) {
        body.insert(body.end(), chunk.begin(), chunk.end());
    }
    std::vector<uint8_t> form{'F', 'O', 'R', 'M'};
    AppendBe(form, body.size(), 4);
    form.insert(form.end(), body.begin(), body.end());
    return form;
}

// Each sample's bytes in the opposite order.
std::vector<uint8_t> Swapped(std::vector<uint8_t> samples, size_t sampleBytes)
{
    for (size_t i = 0; i + sampleBytes <= samples.size(); i += sampleBytes) {
        std::reverse(samples.begin() + i, samples.begin() + i + sampleBytes);
    }
    return samples;
}

class PluginAiffTest : public ::testing::Test {
protected:
    test::HostedPlugins::Delivery Deliver(const std::string& name, const std::vector<uint8_t>& file)
    {
        return hosted_.ReadThroughSource(dir_.Write(name, file));
    }

    test::TempDir dir_;
    test::HostedPlugins hosted_;
};

TEST_F(PluginAiffTest, SoxFilesDeliverTheWaveSamples)
{
    struct Case {
        uint16_t bits;
        uint16_t channels;
        uint32_t rate;
        const char* extension;
        const char* soxType;
    };
    for (const Case c : {Case{16, 2, 44100, "aiff", "aiff"}, Case{24, 1, 96000, "aif", "aiff"}, Case{8, 2, 22050, "aiff", "aiff"},
                         Case{32, 2, 384000, "aif", "aifc"}, Case{24, 6, 48000, "aiff", "aifc"}}) {
        const std::string name = std::to_string(c.bits) + "-" + std::to_string(c.channels) + "-" + c.soxType;
        const auto samples = test::CountingBytes(size_t{c.channels} * c.bits / 8 * 5000);
        const auto wave = dir_.Write(name + ".wav", test::WaveBuilder().Format(1, c.channels, c.rate, c.bits).Data(samples).Build());
        const auto aiff = dir_.Path() / (name + "." + c.extension);
        ASSERT_TRUE(Shell("sox '" + wave.string() + "' -t " + c.soxType + " '" + aiff.string() + "'")) << name;
        const auto got = hosted_.ReadThroughSource(aiff);
        ASSERT_EQ(got.result, kResultOk) << name;
        EXPECT_EQ(got.info.formatName, u"AIFF, AIF");
        EXPECT_EQ(got.info.format.nChannels, c.channels) << name;
        EXPECT_EQ(got.info.format.nSamplesPerSec, c.rate) << name;
        EXPECT_EQ(got.info.format.wBitsPerSample, c.bits) << name;
        EXPECT_EQ(got.info.dataBytes, samples.size()) << name;
        EXPECT_TRUE(got.bytes == samples) << name;
    }
}

TEST_F(PluginAiffTest, SowtSamplesAndTexts)
{
    const auto samples = test::CountingBytes(4 * 3000);
    const auto sowt = Deliver("sowt.aif", Form("AIFC", {AiffChunk("FVER", {0xA2, 0x80, 0x51, 0x40}), Common(2, 3000, 16, Extended(48000), "sowt"),
                                                         AiffChunk("NAME", {'S', 'o', 'n', 'g'}), AiffChunk("AUTH", {'B', 'a', 'n', 'd', 0}),
                                                         Sound(samples)}));
    ASSERT_EQ(sowt.result, kResultOk);
    EXPECT_TRUE(sowt.bytes == samples);
    EXPECT_EQ(sowt.info.format.nSamplesPerSec, 48000u);
    EXPECT_EQ(sowt.info.title, u"Song");
    EXPECT_EQ(sowt.info.artist, u"Band");

    // Big-endian samples behind a sound-data offset; an ID3 tag's title wins over NAME.
    const auto tag = test::MakeId3Tag({{"TIT2", 3, {'I', 'D', '3'}}});
    const auto plain = Deliver("offset.aiff", Form("AIFF", {AiffChunk("NAME", {'S', 'o', 'n', 'g'}), Sound(Swapped(samples, 2), 6),
                                                            Common(2, 3000, 16, Extended(11025)), AiffChunk("ID3 ", tag)}));
    ASSERT_EQ(plain.result, kResultOk);
    EXPECT_TRUE(plain.bytes == samples);
    EXPECT_EQ(plain.info.format.nSamplesPerSec, 11025u);
    EXPECT_EQ(plain.info.title, u"ID3");
}

TEST_F(PluginAiffTest, ShortSoundDataPlaysWhatItHolds)
{
    const auto samples = test::CountingBytes(4 * 1000);
    // The common chunk claims more frames than the sound data holds, and the file ends early.
    auto file = Form("AIFF", {Common(2, 5000, 16, Extended(44100)), Sound(Swapped(samples, 2))});
    file.resize(file.size() - 401);
    const auto got = Deliver("short.aiff", file);
    ASSERT_EQ(got.result, kResultOk);
    ASSERT_EQ(got.bytes.size(), samples.size() - 404);
    EXPECT_TRUE(std::equal(got.bytes.begin(), got.bytes.end(), samples.begin()));
}

TEST_F(PluginAiffTest, HostileFilesAreRefused)
{
    const auto samples = test::CountingBytes(400);
    const auto sound = Sound(samples);
    const auto rate = Extended(44100);
    auto hugeNameSize = AiffChunk("NAME", {'x'});
    hugeNameSize[4] = hugeNameSize[5] = hugeNameSize[6] = hugeNameSize[7] = 0xFF;
    const std::vector<std::pair<std::string, std::vector<uint8_t>>> cases = {
        {"empty", {}},
        {"not a form", std::vector<uint8_t>(64, 'A')},
        {"wave form", Form("WAVE", {Common(2, 100, 16, rate), sound})},
        {"no common chunk", Form("AIFF", {sound})},
        {"no sound chunk", Form("AIFF", {Common(2, 100, 16, rate)})},
        {"zero channels", Form("AIFF", {Common(0, 100, 16, rate), sound})},
        {"zero bits", Form("AIFF", {Common(2, 100, 0, rate), sound})},
        {"40 bits", Form("AIFF", {Common(2, 100, 40, rate), sound})},
        {"zero rate", Form("AIFF", {Common(2, 100, 16, std::vector<uint8_t>(10, 0)), sound})},
        {"negative rate", Form("AIFF", {Common(2, 100, 16, {0xC0, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}), sound})},
        {"rate of 2^40", Form("AIFF", {Common(2, 100, 16, {0x40, 0x27, 0x80, 0, 0, 0, 0, 0, 0, 0}), sound})},
        {"float samples", Form("AIFC", {Common(2, 100, 32, rate, "fl32"), sound})},
        {"short common chunk", Form("AIFF", {AiffChunk("COMM", {0, 2, 0, 0}), sound})},
        {"sound offset past its chunk", Form("AIFF", {Common(2, 100, 16, rate), AiffChunk("SSND", {0, 0, 0xFF, 0xFF, 0, 0, 0, 0})})},
        {"text chunk larger than the file", Form("AIFF", {hugeNameSize, Common(2, 100, 16, rate), sound})},
        {"no frames", Form("AIFF", {Common(2, 0, 16, rate), sound})},
    };
    for (const auto& [name, bytes] : cases) {
        int32_t result = PPI_OK;
        auto plugin = hosted_.Open(dir_.Write("bad.aiff", bytes), &result);
        ASSERT_NE(plugin, nullptr);
        EXPECT_EQ(result, PPI_FAIL) << name;
        EXPECT_TRUE(test::ReadRange(*plugin, 0, 10).empty()) << name;
        // The same bytes as a memory image: accepted, but nothing to read.
        if (!bytes.empty()) {
            EXPECT_EQ(plugin->OpenMemory(bytes.data(), static_cast<int32_t>(bytes.size())), PPI_OK) << name;
            uint64_t frames = 0;
            EXPECT_EQ(plugin->GetTotalFrames(&frames), PPI_FAIL) << name;
        }
    }
}

} // namespace
} // namespace sonavel
