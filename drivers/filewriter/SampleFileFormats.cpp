#include "drivers/filewriter/SampleFileFormats.h"

#include "drivers/common/DoubleBufferDriver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace sonavel {

namespace {

void PutBytes(std::vector<uint8_t>& out, const char* text)
{
    out.insert(out.end(), text, text + std::strlen(text));
}

void PutLe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void PutBe(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// Frame by frame, one sample of every channel in channel order.
void InterleaveSamples(
    std::span<const std::span<const uint8_t>> channels, size_t sampleBytes, std::vector<uint8_t>& out)
{
    if (channels.empty() || sampleBytes == 0) {
        return;
    }
    const size_t frames = channels[0].size() / sampleBytes;
    out.reserve(frames * sampleBytes * channels.size());
    for (size_t frame = 0; frame < frames; ++frame) {
        for (const auto& channel : channels) {
            const auto sample = channel.subspan(frame * sampleBytes, sampleBytes);
            out.insert(out.end(), sample.begin(), sample.end());
        }
    }
}

class RawLayout : public SampleLayout {
public:
    explicit RawLayout(const SampleFileFormat& format) : format_(format) { }

    std::vector<uint8_t> Header(uint64_t) const override { return {}; }
    void Encode(std::span<const std::span<const uint8_t>> channels, std::vector<uint8_t>& out) const override
    {
        InterleaveSamples(channels, HalfBufferBytes(format_.type, 1), out);
    }

private:
    SampleFileFormat format_;
};

class WaveLayout : public SampleLayout {
public:
    explicit WaveLayout(const SampleFileFormat& format) : format_(format) { }

    std::vector<uint8_t> Header(uint64_t dataBytes) const override
    {
        const auto channels = static_cast<uint32_t>(format_.channels);
        const auto rate = static_cast<uint32_t>(format_.rate);
        const bool isFloat = format_.type == ASIOSTFloat32LSB || format_.type == ASIOSTFloat64LSB;
        const uint32_t bits = static_cast<uint32_t>(HalfBufferBytes(format_.type, 1)) * 8;
        const bool extensible = channels > 2 || (!isFloat && bits > 16);
        const uint32_t fmtSize = extensible ? 40 : (isFloat ? 18 : 16);
        const uint32_t blockAlign = channels * bits / 8;
        const uint32_t dataSize = static_cast<uint32_t>(std::min<uint64_t>(dataBytes, 0xFFFFFFFFu - 64));
        const uint32_t pad = dataSize & 1;

        std::vector<uint8_t> out;
        PutBytes(out, "RIFF");
        PutLe(out, 4 + 8 + fmtSize + 8 + dataSize + pad, 4);
        PutBytes(out, "WAVE");
        PutBytes(out, "fmt ");
        PutLe(out, fmtSize, 4);
        PutLe(out, extensible ? 0xFFFE : (isFloat ? 3 : 1), 2);
        PutLe(out, channels, 2);
        PutLe(out, rate, 4);
        PutLe(out, uint64_t{rate} * blockAlign, 4);
        PutLe(out, blockAlign, 2);
        PutLe(out, bits, 2);
        if (extensible) {
            PutLe(out, 22, 2);
            PutLe(out, bits, 2);
            PutLe(out, ChannelMask(channels), 4);
            // KSDATAFORMAT_SUBTYPE_PCM or _IEEE_FLOAT: {0000000X-0000-0010-8000-00AA00389B71}
            static constexpr uint8_t kGuidTail[14] = {
                0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
            PutLe(out, isFloat ? 3 : 1, 2);
            out.insert(out.end(), std::begin(kGuidTail), std::end(kGuidTail));
        } else if (isFloat) {
            PutLe(out, 0, 2);
        }
        PutBytes(out, "data");
        PutLe(out, dataSize, 4);
        return out;
    }

    void Encode(std::span<const std::span<const uint8_t>> channels, std::vector<uint8_t>& out) const override
    {
        InterleaveSamples(channels, HalfBufferBytes(format_.type, 1), out);
    }

    std::vector<uint8_t> Trailer(uint64_t dataBytes) const override
    {
        return (dataBytes & 1) != 0 ? std::vector<uint8_t>{0} : std::vector<uint8_t>{};
    }

private:
    SampleFileFormat format_;

    static uint32_t ChannelMask(uint32_t channels)
    {
        switch (channels) {
        case 1:
            return 0x4;
        case 2:
            return 0x3;
        case 4:
            return 0x33;
        case 6:
            return 0x3F;
        case 8:
            return 0x63F;
        default:
            return 0;
        }
    }
};

class DsdiffLayout : public SampleLayout {
public:
    explicit DsdiffLayout(const SampleFileFormat& format) : format_(format) { }

    std::vector<uint8_t> Header(uint64_t dataBytes) const override
    {
        const auto channels = static_cast<uint32_t>(format_.channels);
        const uint64_t propSize = 4 + (12 + 4) + (12 + 2 + 4 * channels) + (12 + 20);
        const uint64_t pad = dataBytes & 1;

        std::vector<uint8_t> out;
        PutBytes(out, "FRM8");
        PutBe(out, 4 + (12 + 4) + (12 + propSize) + 12 + dataBytes + pad, 8);
        PutBytes(out, "DSD ");
        PutBytes(out, "FVER");
        PutBe(out, 4, 8);
        PutBe(out, 0x01050000, 4);
        PutBytes(out, "PROP");
        PutBe(out, propSize, 8);
        PutBytes(out, "SND ");
        PutBytes(out, "FS  ");
        PutBe(out, 4, 8);
        PutBe(out, static_cast<uint32_t>(format_.rate), 4);
        PutBytes(out, "CHNL");
        PutBe(out, 2 + 4 * channels, 8);
        PutBe(out, channels, 2);
        for (uint32_t channel = 0; channel < channels; ++channel) {
            if (channels == 2) {
                PutBytes(out, channel == 0 ? "SLFT" : "SRGT");
            } else {
                char id[8];
                std::snprintf(id, sizeof(id), "C%03u", channel % 1000);
                PutBytes(out, id);
            }
        }
        PutBytes(out, "CMPR");
        PutBe(out, 20, 8);
        PutBytes(out, "DSD ");
        out.push_back(14);
        PutBytes(out, "not compressed");
        out.push_back(0);
        PutBytes(out, "DSD ");
        PutBe(out, dataBytes, 8);
        return out;
    }

    // DSDIFF interleaves one byte per channel, the earliest bit in the most significant place.
    void Encode(std::span<const std::span<const uint8_t>> channels, std::vector<uint8_t>& out) const override
    {
        if (channels.empty()) {
            return;
        }
        const bool bitPerByte = format_.type == ASIOSTDSDInt8NER8;
        const size_t bytes = bitPerByte ? channels[0].size() / 8 : channels[0].size();
        out.reserve(bytes * channels.size());
        for (size_t index = 0; index < bytes; ++index) {
            for (const auto& channel : channels) {
                out.push_back(DsdByte(channel, index));
            }
        }
    }

    std::vector<uint8_t> Trailer(uint64_t dataBytes) const override
    {
        return (dataBytes & 1) != 0 ? std::vector<uint8_t>{0} : std::vector<uint8_t>{};
    }

private:
    SampleFileFormat format_;

    uint8_t DsdByte(std::span<const uint8_t> channel, size_t index) const
    {
        switch (format_.type) {
        case ASIOSTDSDInt8LSB1: {
            uint8_t reversed = 0;
            for (int bit = 0; bit < 8; ++bit) {
                reversed |= static_cast<uint8_t>(((channel[index] >> bit) & 1) << (7 - bit));
            }
            return reversed;
        }
        case ASIOSTDSDInt8NER8: {
            uint8_t packed = 0;
            for (int bit = 0; bit < 8; ++bit) {
                packed |=
                    static_cast<uint8_t>((channel[index * 8 + static_cast<size_t>(bit)] & 1) << (7 - bit));
            }
            return packed;
        }
        default:
            return channel[index];
        }
    }
};

bool IsDsdType(int32_t type)
{
    return type == ASIOSTDSDInt8LSB1 || type == ASIOSTDSDInt8MSB1 || type == ASIOSTDSDInt8NER8;
}

bool IsWaveType(int32_t type)
{
    switch (type) {
    case ASIOSTInt16LSB:
    case ASIOSTInt24LSB:
    case ASIOSTInt32LSB:
    case ASIOSTFloat32LSB:
    case ASIOSTFloat64LSB:
    case ASIOSTInt32LSB16:
    case ASIOSTInt32LSB18:
    case ASIOSTInt32LSB20:
    case ASIOSTInt32LSB24:
        return true;
    default:
        return false;
    }
}

} // namespace

std::unique_ptr<SampleLayout> CreateSampleLayout(const SampleFileFormat& format)
{
    if (IsDsdType(format.type)) {
        return std::make_unique<DsdiffLayout>(format);
    }
    if (IsWaveType(format.type)) {
        return std::make_unique<WaveLayout>(format);
    }
    return std::make_unique<RawLayout>(format);
}

} // namespace sonavel
