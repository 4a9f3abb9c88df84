#include "sources/Mp3FrameHeader.h"

namespace sonavel {

namespace {

constexpr int kMpeg1 = 3;
constexpr int kLayer1 = 3;
constexpr int kLayer2 = 2;

// kbit/s by [MPEG-1?][layer 3..1 as I, II, III][index].
constexpr uint16_t kBitrates[2][3][16] = {
    {
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    },
    {
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    },
};

// Hz by version (0 MPEG-2.5, 2 MPEG-2, 3 MPEG-1) and index.
constexpr uint32_t kSampleRates[4][3] = {
    {11025, 12000, 8000},
    {0, 0, 0},
    {22050, 24000, 16000},
    {44100, 48000, 32000},
};

} // namespace

uint32_t Mp3FrameHeader::SideInfoBytes() const
{
    if (version == kMpeg1) {
        return channels == 1 ? 17 : 32;
    }
    return channels == 1 ? 9 : 17;
}

bool DecodeFrameHeader(uint32_t word, Mp3FrameHeader& out)
{
    const int version = static_cast<int>(word >> 19 & 3);
    const int layer = static_cast<int>(word >> 17 & 3);
    const uint32_t bitrateIndex = word >> 12 & 15;
    const uint32_t rateIndex = word >> 10 & 3;
    const uint32_t emphasis = word & 3;
    if (word < 0xFFE00000u || version == 1 || layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3 ||
        emphasis == 2) {
        return false;
    }
    out.word = word;
    out.version = version;
    out.layer = layer;
    out.bitrate = uint32_t{kBitrates[version == kMpeg1 ? 1 : 0][kLayer1 - layer][bitrateIndex]} * 1000;
    out.sampleRate = kSampleRates[version][rateIndex];
    out.padding = (word >> 9 & 1) != 0;
    out.channels = (word >> 6 & 3) == 3 ? 1 : 2;
    if (layer == kLayer1) {
        out.samplesPerFrame = 384;
    } else if (layer == kLayer2 || version == kMpeg1) {
        out.samplesPerFrame = 1152;
    } else {
        out.samplesPerFrame = 576;
    }
    const uint32_t slot = layer == kLayer1 ? 4 : 1;
    out.frameBytes = slot * ((out.padding ? 1 : 0) + (out.samplesPerFrame / slot) * (out.bitrate / 8) / out.sampleRate);
    return true;
}

} // namespace sonavel
