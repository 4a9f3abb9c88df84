#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace sonavel::test {

// A WAVE file of 32-bit integer samples as the file writer writes it, frame by frame.
struct WrittenStream {
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<int32_t> words;
    size_t Frames() const { return channels != 0 ? words.size() / channels : 0; }
};

// An empty stream when the file is not such a WAVE file.
WrittenStream ReadWrittenStream(const std::filesystem::path& path);

// The channel words of interleaved little-endian integer PCM: each sample left-justified in 32 bits.
std::vector<int32_t> ExpectedWords(const std::vector<uint8_t>& samples, uint16_t bits);

} // namespace sonavel::test
