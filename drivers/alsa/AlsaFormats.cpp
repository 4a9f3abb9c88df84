#include "drivers/alsa/AlsaFormats.h"

#include "engine/AsioSampleType.h"

#include <cstring>

namespace sonavel {

namespace {

constexpr AlsaSampleFormat kPcmFormats[] = {
    {SND_PCM_FORMAT_S32_LE, ASIOSTInt32LSB, 4, false, false},
    {SND_PCM_FORMAT_S24_3LE, ASIOSTInt24LSB, 3, false, false},
    {SND_PCM_FORMAT_S24_LE, ASIOSTInt32LSB24, 4, false, false},
    {SND_PCM_FORMAT_S16_LE, ASIOSTInt16LSB, 2, false, false},
    {SND_PCM_FORMAT_FLOAT_LE, ASIOSTFloat32LSB, 4, false, false},
};

// The host's DSD bytes come in time order, the earliest bit most significant.
constexpr AlsaSampleFormat kDsdFormats[] = {
    {SND_PCM_FORMAT_DSD_U32_BE, ASIOSTDSDInt8MSB1, 4, true, false},
    {SND_PCM_FORMAT_DSD_U32_LE, ASIOSTDSDInt8MSB1, 4, true, true},
    {SND_PCM_FORMAT_DSD_U16_BE, ASIOSTDSDInt8MSB1, 2, true, false},
    {SND_PCM_FORMAT_DSD_U16_LE, ASIOSTDSDInt8MSB1, 2, true, true},
    {SND_PCM_FORMAT_DSD_U8, ASIOSTDSDInt8MSB1, 1, true, false},
};

constexpr uint8_t kDsdSilence = 0x96;

} // namespace

std::span<const AlsaSampleFormat> PcmFormatCandidates()
{
    return kPcmFormats;
}

std::span<const AlsaSampleFormat> DsdFormatCandidates()
{
    return kDsdFormats;
}

void InterleaveForCard(const AlsaSampleFormat& format, std::span<const uint8_t* const> channels,
    size_t frames, std::span<uint8_t> out)
{
    const size_t width = format.bytesPerChannelFrame;
    const uint8_t silence = format.dsd ? kDsdSilence : 0;
    uint8_t* dst = out.data();
    for (size_t frame = 0; frame < frames; ++frame) {
        for (const uint8_t* channel : channels) {
            if (channel == nullptr) {
                std::memset(dst, silence, width);
            } else if (format.reversedBytes) {
                for (size_t i = 0; i < width; ++i) {
                    dst[i] = channel[frame * width + width - 1 - i];
                }
            } else {
                std::memcpy(dst, channel + frame * width, width);
            }
            dst += width;
        }
    }
}

} // namespace sonavel
