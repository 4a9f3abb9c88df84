#include "PluginDsd.h"

#include <cstring>

namespace sonavel::dsd {

namespace {

int32_t WriteOne(int32_t* out)
{
    if (out == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *out = 1;
    return PPI_OK;
}

} // namespace

int32_t CPlugin_DSD::GetName(char16_t* buffer, int32_t capacity)
{
    return buffer == nullptr || capacity <= 0 ? PPI_BAD_ARGUMENT : fileInfo_->WideName(buffer, capacity);
}

int32_t CPlugin_DSD::GetExtension(char16_t* buffer, int32_t capacity)
{
    return buffer == nullptr || capacity <= 0 ? PPI_BAD_ARGUMENT : fileInfo_->WideExtension(buffer, capacity);
}

int32_t CPlugin_DSD::GetVersion(char16_t* buffer, int32_t capacity)
{
    return buffer == nullptr || capacity <= 0 ? PPI_BAD_ARGUMENT : fileInfo_->WideVersion(buffer, capacity);
}

int32_t CPlugin_DSD::OpenFile(const char16_t* path)
{
    if (path == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    fileInfo_->Reset();
    const int32_t opened = fileInfo_->source.OpenFile(plugin::PathToUtf8(path), plugin::kMaxFileBytes);
    if (opened != PPI_OK) {
        return opened;
    }
    return fileInfo_->Parse();
}

int32_t CPlugin_DSD::OpenMemory(const void* image, int32_t size)
{
    if (image == nullptr || size <= 0) {
        return PPI_BAD_ARGUMENT;
    }
    fileInfo_->Reset();
    fileInfo_->source.SetMemory(image, static_cast<uint64_t>(size));
    fileInfo_->Parse();
    return PPI_OK;
}

int32_t CPlugin_DSD::GetTotalFrames(uint64_t* frames)
{
    if (frames == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    const CFileInfo_DSD& info = *fileInfo_;
    if (info.source.GetKind() == plugin::PluginSource::Kind::None || (info.wordKind != CFileInfo_DSD::kDopWords && info.wordKind != CFileInfo_DSD::kNativeWords)) {
        return PPI_FAIL;
    }
    *frames = info.channelCount == 0 ? 0 : info.dataSize / info.channelCount / info.bytesPerWord;
    return PPI_OK;
}

int32_t CPlugin_DSD::GetTotalBytes(uint64_t* bytes)
{
    if (bytes == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    *bytes = fileInfo_->dataSize * (4 / fileInfo_->bytesPerWord);
    return PPI_OK;
}

int32_t CPlugin_DSD::SetRange(uint64_t first, uint64_t last)
{
    if (last < first) {
        return PPI_BAD_ARGUMENT;
    }
    if (fileInfo_->source.GetKind() == plugin::PluginSource::Kind::None) {
        return PPI_FAIL;
    }
    // The count is kept in 32 bits.
    if (last - first >= UINT32_MAX) {
        return PPI_BAD_ARGUMENT;
    }
    fileInfo_->rangeFirst = first;
    fileInfo_->rangeLast = last;
    fileInfo_->rangeCount = static_cast<uint32_t>(last - first + 1);
    return PPI_OK;
}

int32_t CPlugin_DSD::GetTitleArtist(void* titleBuffer, int32_t titleSize, int32_t* titleEncoding, void* artistBuffer,
                                    int32_t artistSize, int32_t* artistEncoding)
{
    if (titleBuffer == nullptr || titleEncoding == nullptr || artistBuffer == nullptr || artistEncoding == nullptr ||
        titleSize <= 0 || artistSize <= 0) {
        return PPI_BAD_ARGUMENT;
    }
    if (!plugin::CopyTagText(fileInfo_->title, titleBuffer, titleSize, titleEncoding) ||
        !plugin::CopyTagText(fileInfo_->artist, artistBuffer, artistSize, artistEncoding)) {
        return PPI_FAIL;
    }
    return PPI_OK;
}

int32_t CPlugin_DSD::GetFormat(PpiWaveFormat* format)
{
    if (format == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    const CFileInfo_DSD& info = *fileInfo_;
    std::memset(format, 0, sizeof(*format));
    format->wFormatTag = 1;
    format->nChannels = info.channelCount;
    format->nSamplesPerSec = info.sampleRate / (8 * info.bytesPerWord);
    format->nBlockAlign = static_cast<uint16_t>(4 * info.channelCount);
    format->nAvgBytesPerSec = format->nBlockAlign * format->nSamplesPerSec;
    format->wBitsPerSample = info.wordKind == CFileInfo_DSD::kDopWords ? 24 : 32;
    return PPI_OK;
}

int32_t CPlugin_DSD::Read(void** data, uint32_t* bytes)
{
    if (data == nullptr || bytes == nullptr) {
        return PPI_BAD_ARGUMENT;
    }
    if (fileInfo_->HoldsReadBuffer()) {
        return PPI_FAIL;
    }
    switch (fileInfo_->wordKind) {
    case CFileInfo_DSD::kDopWords:
        return fileInfo_->ReadDopWords(data, bytes);
    case CFileInfo_DSD::kNativeWords:
        return fileInfo_->ReadNativeWords(data, bytes);
    default:
        return PPI_FAIL;
    }
}

int32_t CPlugin_DSD::ReleaseReadBuffer()
{
    fileInfo_->FreeReadBuffer();
    return PPI_OK;
}

int32_t CPlugin_DSD::IsMultiInstance(int32_t* out)
{
    return WriteOne(out);
}

int32_t CPlugin_DSD::GetFrameGranularity(int32_t* frames)
{
    return fileInfo_->FrameGranularity(frames);
}

int32_t CPlugin_DSD::IsDsd(int32_t* out)
{
    return WriteOne(out);
}

int32_t CPlugin_DSD::SetOutputMode(int32_t mode)
{
    switch (mode) {
    case PPI_MODE_DSD_OVER_PCM:
        fileInfo_->wordKind = CFileInfo_DSD::kDopWords;
        fileInfo_->bytesPerWord = 2;
        return PPI_OK;
    case PPI_MODE_NATIVE_DSD:
        fileInfo_->wordKind = CFileInfo_DSD::kNativeWords;
        fileInfo_->bytesPerWord = 4;
        return PPI_OK;
    default:
        return PPI_BAD_ARGUMENT;
    }
}

int32_t CPlugin_DSD::GetTagMap(const void** map)
{
    return fileInfo_->GetTagTable(map);
}

} // namespace sonavel::dsd
