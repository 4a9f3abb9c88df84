#include "engine/ChannelWord.h"

#include "engine/DopMarker.h"
#include "engine/WordBytes.h"

#include <algorithm>
#include <cstddef>

namespace sonavel {

namespace {

constexpr uint32_t kDsdWordBytes = 4;

// One reader per source sample format; each turns the bytes of one sample into a channel word.
struct Pcm8 {
    static constexpr size_t kBytes = 1;
    static uint32_t Read(const uint8_t* sample) noexcept { return (uint32_t{sample[0]} - 0x80u) << 24; }
};

struct Pcm16 {
    static constexpr size_t kBytes = 2;
    static uint32_t Read(const uint8_t* sample) noexcept
    {
        return uint32_t{LoadUnaligned<uint16_t>(sample)} << 16;
    }
};

// Reads one byte past the sample: only for samples that are not the last bytes of a block.
struct Pcm24Wide {
    static constexpr size_t kBytes = 3;
    static uint32_t Read(const uint8_t* sample) noexcept { return LoadUnaligned<uint32_t>(sample) << 8; }
};

struct Pcm24 {
    static constexpr size_t kBytes = 3;
    using Wide = Pcm24Wide;
    static uint32_t Read(const uint8_t* sample) noexcept
    {
        return (uint32_t{sample[0]} | uint32_t{sample[1]} << 8 | uint32_t{sample[2]} << 16) << 8;
    }
};

// 32-bit PCM and native DSD alike: the four bytes as they are.
struct Word32 {
    static constexpr size_t kBytes = 4;
    static uint32_t Read(const uint8_t* sample) noexcept { return LoadUnaligned<uint32_t>(sample); }
};

struct Float32 {
    static constexpr size_t kBytes = 4;
    static uint32_t Read(const uint8_t* sample) noexcept
    {
        // Scaling by a power of two is exact in float, and the floats below 2^31 end at
        // 2^31 - 128, so clamping there and adding 127 on overflow gives the same words as
        // scaling and clamping in double. Written as selects, which the compiler vectorises.
        constexpr float kHighest = 2147483520.0f;
        constexpr float kLowest = -2147483648.0f;
        const float scaled = LoadUnaligned<float>(sample) * 2147483648.0f;
        float bounded = scaled < kHighest ? scaled : kHighest;
        bounded = bounded > kLowest ? bounded : kLowest;
        const uint32_t word =
            static_cast<uint32_t>(static_cast<int32_t>(bounded)) + (scaled >= 2147483648.0f ? 127u : 0u);
        // A NaN has no level: it is sent on as silence.
        return scaled == scaled ? word : 0u;
    }
};

struct Float64 {
    static constexpr size_t kBytes = 8;
    static uint32_t Read(const uint8_t* sample) noexcept
    {
        double scaled = LoadUnaligned<double>(sample) * 2147483648.0;
        scaled = scaled == scaled ? scaled : 0.0;
        scaled = std::min(std::max(scaled, -2147483648.0), 2147483647.0);
        return static_cast<uint32_t>(static_cast<int32_t>(scaled));
    }
};

// The DoP word of one half of a 4-byte DSD source word: the marker state picks both the marker
// and the half, the earlier two bytes under marker 0x05.
uint32_t ReadDop(const uint8_t* sample, uint32_t markerState) noexcept
{
    const uint32_t pair = LoadUnaligned<uint32_t>(sample) >> (16 * markerState);
    return DopWord(markerState, pair, pair >> 8);
}

enum class SourceKind { Silence, Dop, Dsd, Pcm8, Pcm16, Pcm24, Pcm32, Float32, Float64 };

SourceKind KindOf(const FetchDescriptor& block, uint32_t bytesPerSample) noexcept
{
    if (block.isDsd) {
        // A DSD sample narrower than its 4-byte word would be read past the block's end.
        if (bytesPerSample < kDsdWordBytes) {
            return SourceKind::Silence;
        }
        return block.dop ? SourceKind::Dop : SourceKind::Dsd;
    }
    if (block.format.wFormatTag == WAVE_FORMAT_IEEE_FLOAT) {
        switch (bytesPerSample) {
        case 4: return SourceKind::Float32;
        case 8: return SourceKind::Float64;
        default: return SourceKind::Silence;
        }
    }
    switch (bytesPerSample) {
    case 1: return SourceKind::Pcm8;
    case 2: return SourceKind::Pcm16;
    case 3: return SourceKind::Pcm24;
    case 4: return SourceKind::Pcm32;
    default: return SourceKind::Silence;
    }
}

// Where a channel's samples lie in a block: its first sample at the current frame, the distance
// between frames, and how many frames are left. No start means the channel sends silence.
struct ChannelSamples {
    const uint8_t* start = nullptr;
    size_t frameStride = 0;
    uint32_t framesLeft = 0;
    SourceKind kind = SourceKind::Silence;
};

ChannelSamples Locate(uint32_t channel, const FetchDescriptor& block) noexcept
{
    const WAVEFORMATEX& format = block.format;
    if (format.nChannels == 1 && channel == 1) {
        channel = 0;
    }
    if (block.data == nullptr || block.frameIndex >= block.frameCount || channel >= format.nChannels) {
        return {};
    }
    const uint32_t bytesPerSample = format.nBlockAlign / format.nChannels;
    ChannelSamples samples;
    samples.kind = KindOf(block, bytesPerSample);
    if (samples.kind == SourceKind::Silence) {
        return {};
    }
    samples.frameStride = size_t{format.nChannels} * bytesPerSample;
    samples.start = block.data + (size_t{format.nChannels} * block.frameIndex + channel) * bytesPerSample;
    samples.framesLeft = block.frameCount - block.frameIndex;
    return samples;
}

bool IsDop(const FetchDescriptor& block) noexcept
{
    return block.isDsd && block.dop;
}

void FillSilence(const FetchDescriptor& block, uint32_t markerState, std::span<uint32_t> out) noexcept
{
    if (IsDop(block)) {
        for (size_t k = 0; k < out.size(); ++k) {
            out[k] = DopSilenceWord(markerState ^ static_cast<uint32_t>(k & 1u));
        }
        return;
    }
    std::fill(out.begin(), out.end(), block.isDsd ? kDsdSilenceWord : kPcmSilenceWord);
}

// Frame readers write the words of one channel's sample in one source frame.
template <typename Sample>
struct OneWord {
    static constexpr size_t kBytes = Sample::kBytes;
    static constexpr size_t kWords = 1;
    static void Read(const uint8_t* sample, uint32_t* out) noexcept { out[0] = Sample::Read(sample); }
};

// Both DoP words of a 4-byte DSD source word, marker 0x05 first.
struct DopPair {
    static constexpr size_t kBytes = kDsdWordBytes;
    static constexpr size_t kWords = 2;
    static void Read(const uint8_t* sample, uint32_t* out) noexcept
    {
        out[0] = ReadDop(sample, 0);
        out[1] = ReadDop(sample, 1);
    }
};

// Source bytes and channel words never overlap; without the __restrict promise the compiler
// does not vectorise these loops.
template <typename FrameReader, size_t Stride>
void ReadFrames(const uint8_t* __restrict start, size_t stride, size_t frames,
                uint32_t* __restrict out) noexcept
{
    if constexpr (Stride != 0) {
        stride = Stride;
    }
    for (size_t frame = 0; frame < frames; ++frame) {
        FrameReader::Read(start + frame * stride, out + frame * FrameReader::kWords);
    }
}

const uint8_t* FrameAt(const ChannelSamples& samples, size_t frame) noexcept
{
    return samples.start + frame * samples.frameStride;
}

// Reads `frames` frames from frame `first` on. Mono and stereo get a stride known at compile
// time, which lets the compiler vectorise.
template <typename FrameReader>
void ReadFramesOf(const ChannelSamples& samples, size_t first, size_t frames, uint32_t* out) noexcept
{
    if (frames == 0) {
        return;
    }
    const uint8_t* start = FrameAt(samples, first);
    switch (samples.frameStride / FrameReader::kBytes) {
    case 1: ReadFrames<FrameReader, FrameReader::kBytes>(start, samples.frameStride, frames, out); break;
    case 2: ReadFrames<FrameReader, 2 * FrameReader::kBytes>(start, samples.frameStride, frames, out); break;
    default: ReadFrames<FrameReader, 0>(start, samples.frameStride, frames, out); break;
    }
}

template <typename Sample>
size_t ReadRun(const ChannelSamples& samples, std::span<uint32_t> out) noexcept
{
    const size_t frames = std::min<size_t>(out.size(), samples.framesLeft);
    size_t wide = 0;
    if constexpr (requires { typename Sample::Wide; }) {
        // Every frame but the block's last has bytes after its samples.
        wide = frames == samples.framesLeft ? frames - 1 : frames;
        ReadFramesOf<OneWord<typename Sample::Wide>>(samples, 0, wide, out.data());
    }
    ReadFramesOf<OneWord<Sample>>(samples, wide, frames - wide, out.data() + wide);
    return frames;
}

size_t ReadDopRun(const ChannelSamples& samples, uint32_t markerState, std::span<uint32_t> out) noexcept
{
    // With the toggle at 1 the first source frame has only its later half left to send.
    const size_t count = std::min(out.size(), size_t{2} * samples.framesLeft - markerState);
    if (count == 0) {
        return 0;
    }
    size_t written = 0;
    if (markerState == 1) {
        out[written++] = ReadDop(FrameAt(samples, 0), 1);
    }
    const size_t first = markerState;
    const size_t pairs = (count - written) / 2;
    ReadFramesOf<DopPair>(samples, first, pairs, out.data() + written);
    written += 2 * pairs;
    if (written < count) {
        out[written++] = ReadDop(FrameAt(samples, first + pairs), 0);
    }
    return count;
}

size_t ReadSamples(const ChannelSamples& samples, uint32_t markerState, std::span<uint32_t> out) noexcept
{
    switch (samples.kind) {
    case SourceKind::Dop: return ReadDopRun(samples, markerState, out);
    case SourceKind::Dsd: return ReadRun<Word32>(samples, out);
    case SourceKind::Pcm8: return ReadRun<Pcm8>(samples, out);
    case SourceKind::Pcm16: return ReadRun<Pcm16>(samples, out);
    case SourceKind::Pcm24: return ReadRun<Pcm24>(samples, out);
    case SourceKind::Pcm32: return ReadRun<Word32>(samples, out);
    case SourceKind::Float32: return ReadRun<Float32>(samples, out);
    case SourceKind::Float64: return ReadRun<Float64>(samples, out);
    case SourceKind::Silence: break;
    }
    return 0;
}

} // namespace

uint32_t SilenceWord(const FetchDescriptor& block) noexcept
{
    if (IsDop(block)) {
        return DopSilenceWord(DopMarkerState());
    }
    return block.isDsd ? kDsdSilenceWord : kPcmSilenceWord;
}

uint32_t Fetch(uint32_t channel, const FetchDescriptor& block) noexcept
{
    const ChannelSamples samples = Locate(channel, block);
    switch (samples.kind) {
    case SourceKind::Dop: return ReadDop(samples.start, DopMarkerState());
    case SourceKind::Dsd: return Word32::Read(samples.start);
    case SourceKind::Pcm8: return Pcm8::Read(samples.start);
    case SourceKind::Pcm16: return Pcm16::Read(samples.start);
    case SourceKind::Pcm24: return Pcm24::Read(samples.start);
    case SourceKind::Pcm32: return Word32::Read(samples.start);
    case SourceKind::Float32: return Float32::Read(samples.start);
    case SourceKind::Float64: return Float64::Read(samples.start);
    case SourceKind::Silence: break;
    }
    return SilenceWord(block);
}

void FetchRun(uint32_t channel, const FetchDescriptor& block, uint32_t markerState,
              std::span<uint32_t> out) noexcept
{
    markerState &= 1u;
    const size_t read = ReadSamples(Locate(channel, block), markerState, out);
    FillSilence(block, markerState ^ static_cast<uint32_t>(read & 1u), out.subspan(read));
}

void AdvanceOutputFrames(FetchDescriptor& block, uint32_t outputFrames) noexcept
{
    if (!IsDop(block)) {
        block.frameIndex += outputFrames;
        return;
    }
    block.frameIndex += static_cast<uint32_t>((uint64_t{DopMarkerState()} + outputFrames) / 2);
    AdvanceDopMarker(outputFrames);
}

} // namespace sonavel
