#pragma once

#include "drivers/filewriter/SampleFile.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace sonavel {

// How samples of one format are laid out in a file.
class SampleLayout {
public:
    virtual ~SampleLayout() = default;

    // The header for `dataBytes` bytes of samples, always of the same length.
    virtual std::vector<uint8_t> Header(uint64_t dataBytes) const = 0;
    // Interleaves one half buffer per channel into the file's sample layout.
    virtual void Encode(
        std::span<const std::span<const uint8_t>> channels, std::vector<uint8_t>& out) const = 0;
    // Bytes that follow the samples in a complete file (a pad byte).
    virtual std::vector<uint8_t> Trailer(uint64_t /*dataBytes*/) const { return {}; }
};

// WAV for little-endian integer and float types, DSDIFF for the DSD types, raw bytes otherwise.
std::unique_ptr<SampleLayout> CreateSampleLayout(const SampleFileFormat& format);

} // namespace sonavel
