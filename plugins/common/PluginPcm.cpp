#include "PluginPcm.h"

#include <algorithm>
#include <cstring>

namespace sonavel::pcm {

namespace {

int32_t WriteAnswer(int32_t* out, int32_t value)
{
    if (out == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *out = value;
    return PPI_OK;
}

} // namespace

CPlugin_PCM::~CPlugin_PCM()
{
    Close();
}

int32_t CPlugin_PCM::GetName(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(decoder_->Texts().name, buffer, capacity);
}

int32_t CPlugin_PCM::GetExtension(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(decoder_->Texts().extension, buffer, capacity);
}

int32_t CPlugin_PCM::GetVersion(char16_t* buffer, int32_t capacity)
{
    return plugin::CopyWideText(decoder_->Texts().version, buffer, capacity);
}

void CPlugin_PCM::Close()
{
    readBuffer_.reset();
    readCapacity_ = 0;
    held_ = false;
    decoder_->Close();
    source_.Close();
    playable_ = false;
    stream_ = {};
    tagTable_.clear();
    rangeFirst_ = 0;
    rangeCount_ = 0;
}

void CPlugin_PCM::Parse()
{
    playable_ = decoder_->Parse(source_, stream_) == PPI_OK && stream_.channels > 0 && stream_.bytesPerSample >= 1 &&
                stream_.bytesPerSample <= 4 && stream_.sampleRate > 0;
    if (!playable_) {
        decoder_->Close();
        stream_ = {};
        return;
    }
    plugin::FillTagTable(tagTable_, stream_.artist, stream_.title, {}, {});
}

int32_t CPlugin_PCM::OpenFile(const char16_t* path)
{
    if (path == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    Close();
    if (const int32_t opened = source_.OpenFile(plugin::PathToUtf8(path), plugin::kMaxFileBytes); opened != PPI_OK) {
        return opened;
    }
    Parse();
    return playable_ ? PPI_OK : PPI_FAIL;
}

int32_t CPlugin_PCM::OpenMemory(const void* image, int32_t size)
{
    if (image == nullptr || size <= 0) {
        return PPI_BAD_ARGUMENT;
    }
    Close();
    source_.SetMemory(image, static_cast<uint64_t>(size));
    Parse();
    return PPI_OK;
}

int32_t CPlugin_PCM::GetTotalFrames(uint64_t* frames)
{
    if (frames == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    if (!playable_) {
        return PPI_FAIL;
    }
    *frames = stream_.totalFrames;
    return PPI_OK;
}

int32_t CPlugin_PCM::GetTotalBytes(uint64_t* bytes)
{
    if (bytes == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *bytes = stream_.totalFrames * BlockAlign();
    return PPI_OK;
}

int32_t CPlugin_PCM::SetRange(uint64_t first, uint64_t last)
{
    if (last < first) {
        return PPI_BAD_ARGUMENT;
    }
    if (!playable_) {
        return PPI_FAIL;
    }
    // The count is kept in 32 bits.
    if (last - first >= UINT32_MAX) {
        return PPI_BAD_ARGUMENT;
    }
    rangeFirst_ = first;
    rangeCount_ = static_cast<uint32_t>(last - first + 1);
    return PPI_OK;
}

int32_t CPlugin_PCM::GetTitleArtist(void* titleBuffer, int32_t titleSize, int32_t* titleEncoding, void* artistBuffer,
                                    int32_t artistSize, int32_t* artistEncoding)
{
    if (titleBuffer == nullptr || titleEncoding == nullptr || artistBuffer == nullptr || artistEncoding == nullptr ||
        titleSize <= 0 || artistSize <= 0) {
        return PPI_BAD_ARGUMENT;
    }
    if (!plugin::CopyTagText(stream_.title, titleBuffer, titleSize, titleEncoding) ||
        !plugin::CopyTagText(stream_.artist, artistBuffer, artistSize, artistEncoding)) {
        return PPI_FAIL;
    }
    return PPI_OK;
}

int32_t CPlugin_PCM::GetFormat(PpiWaveFormat* format)
{
    if (format == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    std::memset(format, 0, sizeof(*format));
    format->wFormatTag = 1;
    format->nChannels = stream_.channels;
    format->nSamplesPerSec = stream_.sampleRate;
    format->nBlockAlign = static_cast<uint16_t>(BlockAlign());
    format->nAvgBytesPerSec = BlockAlign() * stream_.sampleRate;
    format->wBitsPerSample = static_cast<uint16_t>(8 * stream_.bytesPerSample);
    return PPI_OK;
}

int32_t CPlugin_PCM::Read(void** data, uint32_t* bytes)
{
    if (data == nullptr || bytes == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    if (held_ || !playable_) {
        return PPI_FAIL;
    }
    *data = nullptr;
    *bytes = 0;
    // Frames past the end of the file are not delivered.
    if (rangeFirst_ >= stream_.totalFrames) {
        return PPI_OK;
    }
    const uint64_t frames = std::min<uint64_t>(rangeCount_, stream_.totalFrames - rangeFirst_);
    if (frames * BlockAlign() > UINT32_MAX) {
        return PPI_NO_MEMORY;
    }
    const size_t needed = static_cast<size_t>(frames * BlockAlign());
    if (needed > readCapacity_) {
        readBuffer_.reset();
        readBuffer_.reset(new (std::nothrow) uint8_t[needed]);
        readCapacity_ = readBuffer_ ? needed : 0;
        if (!readBuffer_) {
            return PPI_NO_MEMORY;
        }
    }
    uint32_t written = 0;
    if (const int32_t result = decoder_->Decode(rangeFirst_, static_cast<uint32_t>(frames), readBuffer_.get(), &written);
        result != PPI_OK) {
        return result;
    }
    held_ = true;
    *data = readBuffer_.get();
    *bytes = written * BlockAlign();
    return PPI_OK;
}

int32_t CPlugin_PCM::ReleaseReadBuffer()
{
    held_ = false;
    return PPI_OK;
}

int32_t CPlugin_PCM::IsMultiInstance(int32_t* out)
{
    return WriteAnswer(out, 1);
}

int32_t CPlugin_PCM::GetFrameGranularity(int32_t* frames)
{
    return WriteAnswer(frames, 1);
}

int32_t CPlugin_PCM::IsDsd(int32_t* out)
{
    return WriteAnswer(out, 0);
}

int32_t CPlugin_PCM::SetOutputMode(int32_t mode)
{
    return mode == PPI_MODE_DSD_OVER_PCM || mode == PPI_MODE_NATIVE_DSD ? PPI_OK : PPI_BAD_ARGUMENT;
}

int32_t CPlugin_PCM::GetTagMap(const void** map)
{
    if (map == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *map = &tagTable_;
    return PPI_OK;
}

} // namespace sonavel::pcm
