#pragma once

#include "sources/Mp3FrameHeader.h"

#include <cstdint>
#include <optional>
#include <span>

namespace sonavel {

// What the first frame's Xing/Info header says, and whether it carries a valid LAME extension.
struct XingInfo {
    bool found = false;   // the frame is a Xing/Info frame, not audio
    bool hasLame = false; // a LAME extension with a matching CRC
    uint32_t frames = 0;
    uint32_t delay = 0;
    uint32_t padding = 0;
    uint32_t musicLength = 0;
};

// `frame` is a view from the first frame's first byte.
XingInfo ParseXingHeader(std::span<const uint8_t> frame, const Mp3FrameHeader& header);

// The frame count of a Fraunhofer VBRI header in the first frame.
std::optional<uint32_t> ParseVbriFrameCount(std::span<const uint8_t> frame, const Mp3FrameHeader& header);

// CRC-16/ARC (reflected polynomial 0x8005, initial value 0), as LAME uses for its tag.
uint16_t Crc16Arc(std::span<const uint8_t> bytes);

} // namespace sonavel
