#pragma once

#include "PcmDecoder.h"
#include "PluginSource.h"
#include "TagText.h"
#include "plugin-api/PlayerPluginIF.h"

#include <memory>
#include <new>

namespace sonavel::pcm {

// The PCM decoder plug-in object: every operation of the plug-in interface over one open file,
// whose format reader it owns. Frames are sample frames of the delivered PCM; both output modes
// deliver the same data. Instances share nothing, so several may read different files at once.
class CPlugin_PCM : public CPlayerPluginIF {
public:
    explicit CPlugin_PCM(std::unique_ptr<PcmDecoder> decoder) : decoder_(std::move(decoder)) {}
    ~CPlugin_PCM() override;

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
    void Close();
    void Parse();
    uint32_t BlockAlign() const { return uint32_t{stream_.channels} * stream_.bytesPerSample; }

    std::unique_ptr<PcmDecoder> decoder_;
    plugin::PluginSource source_;
    // Set when the open file parsed; until then nothing can be read.
    bool playable_ = false;
    PcmStream stream_;
    plugin::TagMap tagTable_;
    uint64_t rangeFirst_ = 0;
    uint32_t rangeCount_ = 0;
    // The read buffer is kept between reads, so that reading a file block after block does not
    // allocate (and fault in) fresh memory every time; `held_` marks it lent to the host.
    std::unique_ptr<uint8_t[]> readBuffer_;
    size_t readCapacity_ = 0;
    bool held_ = false;
};

// A new plug-in object over a fresh reader of the given format; null when either cannot be
// allocated.
template <typename Decoder>
CPlayerPluginIF* MakePcmPlugin()
{
    auto decoder = std::unique_ptr<Decoder>(new (std::nothrow) Decoder());
    if (!decoder) {
        return nullptr;
    }
    return new (std::nothrow) CPlugin_PCM(std::move(decoder));
}

} // namespace sonavel::pcm
