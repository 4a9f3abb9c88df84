#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sonavel::test {

// The layout fields of a DSF file's fmt chunk.
struct DsfLayout {
    uint32_t channelType = 2;
    uint32_t channels = 2;
    uint32_t rate = 2822400;
    uint32_t bitsPerSample = 1;
    uint32_t blockBytes = 4096;
};

// Builds DSF images: each channel's bytes (as the file stores them) split into blocks of its own,
// the last block padded with zeros, and an optional ID3v2 tag at the end that the metadata
// pointer points to. Tests patch the image for hostile cases.
class DsfBuilder {
public:
    // Offsets of fields in the built image.
    static constexpr size_t kChannelTypeOffset = 28 + 20;
    static constexpr size_t kChannelsOffset = 28 + 24;
    static constexpr size_t kSampleCountOffset = 28 + 36;
    static constexpr size_t kDataSizeOffset = 28 + 52 + 4;
    static constexpr size_t kDataOffset = 28 + 52 + 12;

    DsfBuilder(const DsfLayout& layout, std::vector<std::vector<uint8_t>> channelBytes);
    // The sample count per channel; 8 per byte of the longest channel unless set.
    DsfBuilder& SampleCount(uint64_t count);
    DsfBuilder& Id3(const std::vector<uint8_t>& tag);
    std::vector<uint8_t> Build() const;

private:
    DsfLayout layout_;
    std::vector<std::vector<uint8_t>> channels_;
    uint64_t sampleCount_ = 0;
    std::vector<uint8_t> tag_;
};

void AppendLe(std::vector<uint8_t>& out, uint64_t value, int bytes);

} // namespace sonavel::test
