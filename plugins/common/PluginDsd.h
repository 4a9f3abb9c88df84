#pragma once

#include "FileInfoDsd.h"
#include "plugin-api/PlayerPluginIF.h"

#include <memory>
#include <new>

namespace sonavel::dsd {

// The DSD decoder plug-in object: every operation of the plug-in interface over one open DSD file,
// whose format reader is the file-information object it owns. Instances share nothing, so
// several may read different files at once.
class CPlugin_DSD : public CPlayerPluginIF {
public:
    explicit CPlugin_DSD(std::unique_ptr<CFileInfo_DSD> fileInfo) : fileInfo_(std::move(fileInfo)) {}

    int32_t GetName(char16_t* buffer, int32_t capacity) override;
    int32_t GetExtension(char16_t* buffer, int32_t capacity) override;
    int32_t GetVersion(char16_t* buffer, int32_t capacity) override;
    int32_t OpenFile(const char16_t* path) override;
    int32_t OpenMemory(const void* image, int32_t size) override;
    int32_t GetTotalFrames(uint64_t* frames) override;
    int32_t GetTotalBytes(uint64_t* bytes) override;
    int32_t SetRange(uint64_t first, uint64_t last) override;
    int32_t GetTitleArtist(void* titleBuffer, int32_t titleSize, int32_t* titleEncoding, void* artistBuffer,
                           int32_t artistSize, int32_t* artistEncoding) override;
    int32_t GetFormat(PpiWaveFormat* format) override;
    int32_t Read(void** data, uint32_t* bytes) override;
    int32_t ReleaseReadBuffer() override;
    int32_t IsMultiInstance(int32_t* out) override;
    int32_t GetFrameGranularity(int32_t* frames) override;
    int32_t IsDsd(int32_t* out) override;
    int32_t SetOutputMode(int32_t mode) override;
    int32_t GetTagMap(const void** map) override;

private:
    std::unique_ptr<CFileInfo_DSD> fileInfo_;
};

// A new plug-in object over a fresh file-information object of the given format; null when
// either cannot be allocated.
template <typename FileInfo>
CPlayerPluginIF* MakeDsdPlugin()
{
    auto fileInfo = std::unique_ptr<FileInfo>(new (std::nothrow) FileInfo());
    if (!fileInfo) {
        return nullptr;
    }
    return new (std::nothrow) CPlugin_DSD(std::move(fileInfo));
}

} // namespace sonavel::dsd
