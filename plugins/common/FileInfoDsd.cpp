#include "FileInfoDsd.h"

#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace sonavel::dsd {

namespace {

constexpr uint8_t kDopMarkerFirst = 0x05;
constexpr uint8_t kDopMarkerSecond = 0xFA;

std::u16string Widened(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

int32_t CFileInfo_DSD::NarrowName(char* buffer, int32_t capacity)
{
    return plugin::CopyNarrowText(texts_.name, buffer, capacity);
}

int32_t CFileInfo_DSD::NarrowExtension(char* buffer, int32_t capacity)
{
    return plugin::CopyNarrowText(texts_.extension, buffer, capacity);
}

int32_t CFileInfo_DSD::NarrowVersion(char* buffer, int32_t capacity)
{
    return plugin::CopyNarrowText(texts_.version, buffer, capacity);
}

int32_t CFileInfo_DSD::WideName(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(Widened(texts_.name), buffer, capacity);
}

int32_t CFileInfo_DSD::WideExtension(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(Widened(texts_.extension), buffer, capacity);
}

int32_t CFileInfo_DSD::WideVersion(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(Widened(texts_.version), buffer, capacity);
}

int32_t CFileInfo_DSD::FrameGranularity(int32_t*)
{
    return PPI_OK;
}

int32_t CFileInfo_DSD::GetTagTable(const void** out)
{
    if (out == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *out = &tagTable;
    return PPI_OK;
}

int32_t CFileInfo_DSD::Parse()
{
    return PPI_OK;
}

int32_t CFileInfo_DSD::ReadDopWords(void**, uint32_t*)
{
    return PPI_OK;
}

int32_t CFileInfo_DSD::ReadNativeWords(void**, uint32_t*)
{
    return PPI_OK;
}

void CFileInfo_DSD::Reset()
{
    FreeReadBuffer();
    source.Close();
    formSize = dataOffset = dataSize = 0;
    rangeFirst = rangeLast = 0;
    rangeCount = 0;
    sampleRate = 0;
    channelCount = 0;
    channelMask = 0;
    title.Clear();
    artist.Clear();
    album.Clear();
    track.Clear();
}

bool CFileInfo_DSD::FetchInterleaved(uint64_t start, uint64_t n, uint8_t* target, uint64_t* got)
{
    if (!source.GoTo(dataOffset + start)) {
        return false;
    }
    *got = n > 0 ? source.Read(target, n) : 0;
    return true;
}

void CFileInfo_DSD::BuildTagTable()
{
    plugin::FillTagTable(tagTable, artist, title, album, track);
}

bool CFileInfo_DSD::Reserve(std::unique_ptr<uint8_t[]>& buffer, uint64_t& capacity, uint64_t bytes)
{
    if (bytes <= capacity && buffer) {
        return true;
    }
    buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(std::max<uint64_t>(bytes, 1))]);
    capacity = buffer ? bytes : 0;
    return buffer != nullptr;
}

template <typename Convert>
int32_t CFileInfo_DSD::ReadWords(void** data, uint32_t* bytes, Convert convert)
{
    const uint64_t frames = rangeCount;
    const uint64_t inFrame = uint64_t{channelCount} * bytesPerWord;
    const uint64_t outFrame = uint64_t{channelCount} * 4;
    if (frames * outFrame > UINT32_MAX) {
        return PPI_NO_MEMORY;
    }
    const uint64_t outBytes = frames * outFrame;
    if (!Reserve(inputBuffer_, inputCapacity_, frames * inFrame) || !Reserve(readBuffer_, readCapacity_, outBytes)) {
        return PPI_NO_MEMORY;
    }
    uint8_t* const input = inputBuffer_.get();
    uint8_t* const output = readBuffer_.get();
    // Only the sound data is read, never the chunks after it.
    const uint64_t start = rangeFirst * inFrame;
    const uint64_t available = start < dataSize ? std::min(dataSize - start, frames * inFrame) : 0;
    uint64_t got = 0;
    if (!FetchInterleaved(start, available, input, &got)) {
        return PPI_FAIL;
    }
    if (available > 0 && got == 0) {
        return PPI_FAIL;
    }
    const uint64_t wholeFrames = inFrame == 0 ? 0 : got / inFrame;
    for (uint64_t f = 0; f < wholeFrames; ++f) {
        convert(input + f * inFrame, output + f * outFrame);
    }
    // Frames the file does not hold (a cut file) are zero words, as a fresh buffer would be.
    std::memset(output + wholeFrames * outFrame, 0, static_cast<size_t>(outBytes - wholeFrames * outFrame));
    readBytes_ = static_cast<uint32_t>(outBytes);
    holdsReadBuffer_ = true;
    *data = output;
    *bytes = readBytes_;
    return PPI_OK;
}

int32_t CFileInfo_DSD::ReadInterleavedDop(void** data, uint32_t* bytes)
{
    const uint16_t channels = channelCount;
    uint8_t marker = kDopMarkerFirst;
    return ReadWords(data, bytes, [channels, &marker](const uint8_t* in, uint8_t* out) {
        for (uint16_t c = 0; c < channels; ++c) {
            out[4 * c] = 0x00;
            out[4 * c + 1] = in[channels + c];
            out[4 * c + 2] = in[c];
            out[4 * c + 3] = marker;
        }
        marker = marker == kDopMarkerFirst ? kDopMarkerSecond : kDopMarkerFirst;
    });
}

int32_t CFileInfo_DSD::ReadInterleavedNative(void** data, uint32_t* bytes)
{
    const uint16_t channels = channelCount;
    return ReadWords(data, bytes, [channels](const uint8_t* in, uint8_t* out) {
        for (uint16_t c = 0; c < channels; ++c) {
            for (int k = 0; k < 4; ++k) {
                out[4 * c + k] = in[k * channels + c];
            }
        }
    });
}

} // namespace sonavel::dsd
