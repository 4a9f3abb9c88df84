#include "engine/MusicDataAnalyze.h"

#include "sources/MusicResult.h"
#include "sources/SourceFactory.h"

#include <algorithm>

namespace sonavel {

int32_t CMusicDataAnalyze::Open(
    const MusicTrackInfo& entry, const MusicOpenParams& params, const std::shared_ptr<CPluginCtrl>& plugins)
{
    std::lock_guard guard(lock_);
    source_ = CreateSourceOfType(entry.sourceType, entry.path, plugins);
    if (!source_) {
        return kResultBadArgument;
    }
    int32_t result = source_->Open(&params);
    if (result == -1 && entry.sourceType == kSourcePlugin) {
        result = kResultOutOfOrder;
    }
    if (result != kResultOk) {
        return result;
    }
    MusicTrackInfo info;
    result = source_->GetTrackInfo(0, &info);
    if (result != kResultOk) {
        return result;
    }
    if (info.format.nBlockAlign == 0 || info.format.nChannels == 0) {
        return kResultBroken;
    }
    format_ = info.format;
    info_ = info;
    rangeStart_ = entry.startFrame;
    rangeEnd_ = entry.endFrame;
    rangeOffset_ = 0;
    return source_->SetRange(entry.startFrame, entry.endFrame, 0);
}

int32_t CMusicDataAnalyze::SetRange(uint32_t first, uint32_t last, uint32_t offset)
{
    std::lock_guard guard(lock_);
    if (!source_) {
        return kResultOutOfOrder;
    }
    rangeStart_ = first;
    rangeEnd_ = last;
    rangeOffset_ = offset;
    return source_->SetRange(first, last, offset);
}

int32_t CMusicDataAnalyze::ReadNext(void** block, uint32_t* bytes)
{
    std::lock_guard guard(lock_);
    *block = nullptr;
    *bytes = 0;
    return source_ ? source_->ReadNext(block, bytes) : kResultOutOfOrder;
}

void CMusicDataAnalyze::FreeBuffer(void* block)
{
    std::lock_guard guard(lock_);
    if (source_ && block != nullptr) {
        source_->FreeBuffer(block);
    }
}

bool CMusicDataAnalyze::IsDsd()
{
    std::lock_guard guard(lock_);
    int dsd = 0;
    return source_ && source_->IsDsd(&dsd) == kResultOk && dsd != 0;
}

bool CMusicDataAnalyze::CanPrepareAhead()
{
    std::lock_guard guard(lock_);
    int ahead = 0;
    return source_ && source_->CanPrepareAhead(&ahead) == kResultOk && ahead != 0;
}

WAVEFORMATEX CMusicDataAnalyze::Format()
{
    std::lock_guard guard(lock_);
    return format_;
}

MusicTrackInfo CMusicDataAnalyze::Info()
{
    std::lock_guard guard(lock_);
    return info_;
}

uint64_t CMusicDataAnalyze::RangeBytes()
{
    std::lock_guard guard(lock_);
    return SlotBytesForRange(
        info_.dataBytes, info_.lengthFrames, rangeStart_, rangeEnd_, rangeOffset_, format_.nBlockAlign);
}

uint64_t SlotBytesForRange(uint64_t dataBytes, uint32_t lengthFrames, uint32_t rangeStart, uint32_t rangeEnd,
    uint32_t rangeOffset, uint32_t blockAlign)
{
    const int64_t frames = int64_t{rangeEnd} - rangeOffset - rangeStart + 1;
    if (frames <= 0) {
        return 0;
    }
    const uint64_t align = std::max<uint32_t>(blockAlign, 1);
    const uint64_t length = std::max<uint32_t>(lengthFrames, 1);
    // dataBytes × frames could pass 64 bits only for absurd sizes; divide first then.
    const unsigned __int128 bytes = static_cast<unsigned __int128>(dataBytes) * static_cast<uint64_t>(frames) / length;
    return static_cast<uint64_t>(bytes / align * align);
}

} // namespace sonavel
