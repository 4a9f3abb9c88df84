#pragma once

#include <alsa/asoundlib.h>

#include <cstdint>
#include <optional>
#include <span>

namespace sonavel {

// One ALSA sample format the driver moves bytes in, and the ASIO sample type it shows the host.
struct AlsaSampleFormat {
    snd_pcm_format_t format;
    int32_t asioType;
    uint32_t bytesPerChannelFrame;
    bool dsd;
    bool reversedBytes; // little-endian DSD words: the earliest byte last in memory

    // DSD rates at the driver interface are bit rates; ALSA counts frames of whole words.
    uint32_t AsioSamplesPerFrame() const { return dsd ? bytesPerChannelFrame * 8 : 1; }
};

// In order of preference: the deepest integer formats first (DoP needs 24 or 32 bits), then the
// widest DSD words.
std::span<const AlsaSampleFormat> PcmFormatCandidates();
std::span<const AlsaSampleFormat> DsdFormatCandidates();

// Interleaves one half buffer per ALSA channel into the card's frame layout; a null channel plays
// silence. `out` holds frames × channels × bytesPerChannelFrame bytes.
void InterleaveForCard(const AlsaSampleFormat& format, std::span<const uint8_t* const> channels,
    size_t frames, std::span<uint8_t> out);

} // namespace sonavel
