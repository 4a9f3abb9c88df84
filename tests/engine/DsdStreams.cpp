#include "tests/engine/DsdStreams.h"

#include "engine/DopMarker.h"
#include "tests/engine/PlaybackTestHarness.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sonavel::test {

namespace {

DsdOutput ReadDsdiff(const std::filesystem::path& path)
{
    const WrittenDsd stream = ReadWrittenDsd(path);
    DsdOutput output;
    output.rate = stream.rate;
    for (size_t channel = 0; channel < stream.channels; ++channel) {
        output.channels.push_back(ChannelOf(stream.bytes, stream.channels, channel));
    }
    return output;
}

} // namespace

DsdOutput DopOutput(const WrittenStream& stream)
{
    DsdOutput output;
    output.rate = stream.rate;
    for (size_t channel = 0; channel < stream.channels; ++channel) {
        std::vector<uint8_t> dsd;
        dsd.reserve(2 * stream.Frames());
        uint32_t expectedMarker = 0;
        for (size_t frame = 0; frame < stream.Frames(); ++frame) {
            const auto word = static_cast<uint32_t>(stream.words[frame * stream.channels + channel]);
            const uint32_t marker = word >> 24;
            if (frame == 0 && (marker == kDopMarkerFirst || marker == kDopMarkerSecond)) {
                expectedMarker = marker;
            }
            if (marker != expectedMarker || (word & 0xFFu) != 0) {
                ADD_FAILURE() << "channel " << channel << " word " << frame << " of " << stream.Frames() << " is "
                              << std::hex << word << ", not a DoP word with marker " << expectedMarker;
                break;
            }
            expectedMarker ^= kDopMarkerFirst ^ kDopMarkerSecond;
            dsd.push_back(static_cast<uint8_t>(word >> 16));
            dsd.push_back(static_cast<uint8_t>(word >> 8));
        }
        output.channels.push_back(std::move(dsd));
    }
    return output;
}

DsdOutput ReadDsdOutput(const std::filesystem::path& path, bool native)
{
    return native ? ReadDsdiff(path) : DopOutput(ReadWrittenStream(path));
}

std::vector<uint8_t> ChannelOf(const std::vector<uint8_t>& interleaved, size_t channels, size_t channel)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(interleaved.size() / channels);
    for (size_t at = channel; at < interleaved.size(); at += channels) {
        bytes.push_back(interleaved[at]);
    }
    return bytes;
}

size_t LeadInBytes(uint32_t dsdRate)
{
    return dsdRate / 8 / 10;
}

void ExpectCarries(
    const std::vector<uint8_t>& carried, const std::vector<uint8_t>& expected, size_t leadIn, bool contiguous)
{
    const auto isIdle = [](uint8_t byte) { return byte == kDsdIdleByte; };
    const auto first = std::find_if_not(carried.begin(), carried.end(), isIdle);
    EXPECT_GE(static_cast<size_t>(first - carried.begin()), leadIn) << "the output starts with the lead-in";
    std::vector<uint8_t> data;
    std::copy_if(first, carried.end(), std::back_inserter(data), [&](uint8_t byte) { return !isIdle(byte); });
    ASSERT_EQ(data.size(), expected.size());
    const auto mismatch = std::mismatch(data.begin(), data.end(), expected.begin());
    EXPECT_TRUE(mismatch.first == data.end()) << "first difference at byte " << (mismatch.first - data.begin());
    if (contiguous) {
        const auto last = std::find_if_not(carried.rbegin(), carried.rend(), isIdle).base();
        EXPECT_EQ(static_cast<size_t>(last - first), expected.size()) << "silence came between the file's bytes";
    }
}

} // namespace sonavel::test
