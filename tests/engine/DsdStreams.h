#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace sonavel::test {

struct WrittenStream;

// What reached the file writer of a DSD track, per channel as DSD bytes in time order: native
// output as the DSDIFF file the writer makes of it, DoP output as the two DSD bytes of every word
// of its 32-bit WAVE file. Reading DoP checks every word: marker 0x05 or 0xFA alternating from the
// first word to the last on each channel, bits 7..0 zero.
struct DsdOutput {
    uint32_t rate = 0;
    std::vector<std::vector<uint8_t>> channels;
};

DsdOutput ReadDsdOutput(const std::filesystem::path& path, bool native);
// DoP output already read as the 32-bit words of its WAVE file.
DsdOutput DopOutput(const WrittenStream& stream);

// One channel of bytes that hold one byte per channel per frame, as DSDIFF does.
std::vector<uint8_t> ChannelOf(const std::vector<uint8_t>& interleaved, size_t channels, size_t channel);

// The DSD bytes per channel of the 0.1 s lead-in.
size_t LeadInBytes(uint32_t dsdRate);

// The channel carried at least `leadIn` idle bytes (0x96), then `expected` (which holds no idle
// byte) and idle bytes only, except that where it was not `contiguous` (an underrun came between)
// idle bytes may come between `expected`'s bytes too.
void ExpectCarries(
    const std::vector<uint8_t>& carried, const std::vector<uint8_t>& expected, size_t leadIn, bool contiguous);

} // namespace sonavel::test
