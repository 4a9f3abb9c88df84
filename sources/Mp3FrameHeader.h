#pragma once

#include <cstdint>

namespace sonavel {

// One MPEG audio frame header (the 32-bit big-endian word that starts a frame), decoded.
struct Mp3FrameHeader {
    uint32_t word = 0;
    int version = 0; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    int layer = 0;   // 3 Layer I, 2 Layer II, 1 Layer III
    uint32_t bitrate = 0;
    uint32_t sampleRate = 0;
    uint32_t samplesPerFrame = 0;
    uint32_t frameBytes = 0;
    uint16_t channels = 0;
    bool padding = false;

    // Bytes of Layer III side information after the header.
    uint32_t SideInfoBytes() const;
};

// Decodes a header word; false for anything but a usable frame (no sync, reserved version or
// layer, free-format or bad bitrate, reserved rate, reserved emphasis).
bool DecodeFrameHeader(uint32_t word, Mp3FrameHeader& out);

inline uint32_t LoadBe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

} // namespace sonavel
