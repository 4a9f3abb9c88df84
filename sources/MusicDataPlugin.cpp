#include "sources/MusicDataPlugin.h"

#include "app/TextEncoding.h"
#include "platform/VirtualMemory.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicResult.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace sonavel {

namespace {

constexpr int32_t kTextCapacity = 256;
constexpr int32_t kTagBytes = 512;

static_assert(sizeof(PpiWaveFormat) == sizeof(WAVEFORMATEX));

std::u16string AskText(CPlayerPluginIF* plugin, int32_t (CPlayerPluginIF::*ask)(char16_t*, int32_t), int32_t capacity)
{
    std::vector<char16_t> buffer(static_cast<size_t>(capacity) + 1, 0);
    if (plugin == nullptr || (plugin->*ask)(buffer.data(), capacity) != PPI_OK) {
        return {};
    }
    return std::u16string(buffer.data());
}

} // namespace

int32_t CMusicDataPlugin::MapResult(int32_t pluginResult)
{
    switch (pluginResult) {
    case PPI_OK:
        return kResultOk;
    case PPI_BAD_ARGUMENT:
        return kResultBadArgument;
    case PPI_CANNOT_OPEN:
        return kResultCannotOpen;
    case PPI_NO_MEMORY:
        return kResultNoMemory;
    case PPI_TOO_LARGE:
        return kResultTooLarge;
    case PPI_READ_ERROR:
        return kResultReadError;
    case PPI_OUT_OF_ORDER:
        return kResultOutOfOrder;
    default:
        return kResultBroken;
    }
}

CMusicDataPlugin::CMusicDataPlugin(std::shared_ptr<CPluginCtrl> registry, std::u16string_view path)
    : registry_(std::move(registry))
{
    if (registry_) {
        plugin_ = registry_->InstanceForFile(path);
        ownsInstance_ = plugin_ != nullptr;
    }
    fileType_ = {nameText_.c_str(), extText_.c_str()};
}

CMusicDataPlugin::CMusicDataPlugin(std::shared_ptr<CPluginCtrl> registry, size_t record)
    : registry_(std::move(registry))
{
    if (registry_ && record < registry_->Records().size()) {
        const PluginRecord& r = registry_->Records()[record];
        plugin_ = r.instance != nullptr ? r.instance : CPluginCtrl::MakeRecordInstance(r.makeInstance, r.releaseInstance);
        ownsInstance_ = plugin_ != nullptr;
    }
    nameText_ = AskText(plugin_, &CPlayerPluginIF::GetName, kTextCapacity);
    extText_ = AskText(plugin_, &CPlayerPluginIF::GetExtension, kTextCapacity);
    fileType_ = {nameText_.c_str(), extText_.c_str()};
}

CMusicDataPlugin::~CMusicDataPlugin()
{
    if (ownsInstance_) {
        plugin_->ReleaseReadBuffer();
        registry_->ReleaseForSource(plugin_);
    }
}

const MusicFileType* CMusicDataPlugin::GetFileType()
{
    return &fileType_;
}

int32_t CMusicDataPlugin::Open(const MusicOpenParams* params)
{
    cursor_ = 0;
    rangeEnd_ = 0;
    if (params == nullptr) {
        return kResultBadArgument;
    }
    if (plugin_ == nullptr) {
        return kResultBroken;
    }
    return OpenFile(*params);
}

int32_t CMusicDataPlugin::OpenFile(const MusicOpenParams& params)
{
    plugin_->ReleaseReadBuffer();
    SetDsdMode(1);
    if (const int32_t result = plugin_->OpenFile(params.path.c_str()); result != PPI_OK) {
        return MapResult(result);
    }
    info_.sourceType = kSourcePlugin;
    std::vector<uint8_t> title(kTagBytes + 2, 0);
    std::vector<uint8_t> artist(kTagBytes + 2, 0);
    int32_t titleEncoding = 0;
    int32_t artistEncoding = 0;
    if (const int32_t result = plugin_->GetTitleArtist(title.data(), kTagBytes, &titleEncoding, artist.data(), kTagBytes, &artistEncoding);
        result != PPI_OK) {
        return MapResult(result);
    }
    std::vector<char16_t> extension(kTextCapacity, 0);
    if (const int32_t result = plugin_->GetExtension(extension.data(), kTextCapacity - 1); result != PPI_OK) {
        return MapResult(result);
    }
    info_.formatName = extension.data();
    PpiWaveFormat format{};
    if (const int32_t result = plugin_->GetFormat(&format); result != PPI_OK) {
        return MapResult(result);
    }
    info_.format = {format.wFormatTag, format.nChannels, format.nSamplesPerSec, format.nAvgBytesPerSec,
                    format.nBlockAlign, format.wBitsPerSample, format.cbSize};
    uint64_t totalFrames = 0;
    if (const int32_t result = plugin_->GetTotalFrames(&totalFrames); result != PPI_OK) {
        return MapResult(result);
    }
    if (const int32_t result = plugin_->GetTotalBytes(&info_.dataBytes); result != PPI_OK) {
        return MapResult(result);
    }
    info_.title = DecodeTagText(title, titleEncoding);
    info_.artist = DecodeTagText(artist, artistEncoding);
    info_.format.nAvgBytesPerSec = std::max<uint32_t>(info_.format.nAvgBytesPerSec, 1);
    // Without a rate or a frame size nothing can be positioned or read.
    if (info_.format.nSamplesPerSec == 0 || info_.format.nBlockAlign == 0) {
        return kResultBroken;
    }
    const uint64_t rate = info_.format.nSamplesPerSec;
    const uint64_t lengthFrames = (totalFrames * kFramesPerSecond + rate - 1) / rate;
    if (lengthFrames > UINT32_MAX) {
        return kResultBroken;
    }
    info_.lengthFrames = static_cast<uint32_t>(lengthFrames);
    info_.startFrame = 0;
    info_.endFrame = std::max<uint32_t>(info_.lengthFrames, 1) - 1;
    granule_ = kAllocationGranularity;
    return kResultOk;
}

int32_t CMusicDataPlugin::GetTrackCount(int* count)
{
    if (count == nullptr) {
        return kResultBadArgument;
    }
    *count = 1;
    return kResultOk;
}

int32_t CMusicDataPlugin::GetTrackInfo(int index, MusicTrackInfo* out)
{
    if (index != 0 || out == nullptr) {
        return kResultBadArgument;
    }
    CopyTrackFields(info_, *out);
    return kResultOk;
}

uint64_t CMusicDataPlugin::Granularity()
{
    int32_t g = 0;
    if (plugin_->GetFrameGranularity(&g) != PPI_OK || g <= 0) {
        return 1;
    }
    return static_cast<uint64_t>(g);
}

int32_t CMusicDataPlugin::SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames)
{
    if (plugin_ == nullptr || info_.format.nSamplesPerSec == 0) {
        return kResultOutOfOrder;
    }
    const uint64_t g = Granularity();
    uint64_t total = 0;
    if (plugin_->GetTotalFrames(&total) != PPI_OK) {
        total = 0;
    }
    const uint32_t rate = info_.format.nSamplesPerSec;
    // The range ends after its last 1/75 s, as with the other sources.
    rangeEnd_ = std::min(FrameToSample(uint64_t{lastFrame} + 1, rate), total);
    const uint64_t start = FrameToSample(uint64_t{firstFrame} + offsetFrames, rate);
    cursor_ = start < rangeEnd_ ? start / g * g : (rangeEnd_ + g - 1) / g * g;
    if (cursor_ >= rangeEnd_) {
        return kResultOk;
    }
    return MapResult(plugin_->SetRange(cursor_, rangeEnd_ - 1));
}

int32_t CMusicDataPlugin::ReadNext(void** block, uint32_t* bytes)
{
    if (block == nullptr || bytes == nullptr) {
        return kResultBadArgument;
    }
    *block = nullptr;
    *bytes = 0;
    if (plugin_ == nullptr || info_.format.nBlockAlign == 0 || granule_ == 0) {
        return kResultOutOfOrder;
    }
    const uint64_t g = Granularity();
    const uint64_t units = std::max<uint64_t>(info_.format.nAvgBytesPerSec / granule_, 1);
    const uint64_t chunkFrames = std::max<uint64_t>(units * granule_ / info_.format.nBlockAlign / g * g, g);
    if (cursor_ >= rangeEnd_) {
        return kResultEndOfRange;
    }
    const uint64_t last = std::min(cursor_ + chunkFrames, rangeEnd_) - 1;
    void* data = nullptr;
    uint32_t delivered = 0;
    int32_t result = plugin_->SetRange(cursor_, last);
    if (result == PPI_OK) {
        result = plugin_->Read(&data, &delivered);
    }
    if (result != PPI_OK) {
        return MapResult(result);
    }
    if (delivered == 0) {
        plugin_->ReleaseReadBuffer();
        return kResultEndOfRange;
    }
    const uint64_t limit = (rangeEnd_ - cursor_) * info_.format.nBlockAlign;
    const uint32_t useful = static_cast<uint32_t>(std::min<uint64_t>(delivered, limit));
    void* copy = AllocBuffer(useful);
    if (copy != nullptr) {
        std::memcpy(copy, data, useful);
        cursor_ += useful / info_.format.nBlockAlign;
    }
    plugin_->ReleaseReadBuffer();
    if (copy == nullptr) {
        return kResultNoMemory;
    }
    *block = copy;
    *bytes = useful;
    return kResultOk;
}

int32_t CMusicDataPlugin::IsDsd(int* out)
{
    if (out == nullptr || plugin_ == nullptr) {
        return kResultBadArgument;
    }
    int32_t answer = 0;
    const int32_t result = plugin_->IsDsd(&answer);
    *out = answer;
    return MapResult(result);
}

int32_t CMusicDataPlugin::SetDsdMode(int mode)
{
    return plugin_ == nullptr ? kResultBroken : MapResult(plugin_->SetOutputMode(mode));
}

int32_t CMusicDataPlugin::CanPrepareAhead(int* out)
{
    if (out == nullptr || plugin_ == nullptr) {
        return kResultBadArgument;
    }
    int32_t answer = 0;
    const int32_t result = plugin_->IsMultiInstance(&answer);
    *out = answer;
    return MapResult(result);
}

} // namespace sonavel
