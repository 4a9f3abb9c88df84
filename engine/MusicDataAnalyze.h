#pragma once

#include "sources/MusicData.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace sonavel {

class CPluginCtrl;

// A track slot's opened music source with its delivered format and play range. Every call into
// the source holds the lock, so the loader's reads and the playback thread's range changes on
// the same source never overlap.
class CMusicDataAnalyze {
public:
    // Replaces the source by a new one of the entry's type and opens it at the entry's range.
    // kResultOk or the source's result code.
    int32_t Open(const MusicTrackInfo& entry, const MusicOpenParams& params,
        const std::shared_ptr<CPluginCtrl>& plugins);
    int32_t SetRange(uint32_t first, uint32_t last, uint32_t offset);
    int32_t ReadNext(void** block, uint32_t* bytes);
    void FreeBuffer(void* block);
    bool IsDsd();
    bool CanPrepareAhead();

    WAVEFORMATEX Format();
    MusicTrackInfo Info();
    // Bytes the current range delivers, in whole frames.
    uint64_t RangeBytes();

private:
    std::mutex lock_;
    std::unique_ptr<CMusicData> source_;
    WAVEFORMATEX format_{};
    MusicTrackInfo info_;
    uint32_t rangeStart_ = 0;
    uint32_t rangeEnd_ = 0;
    uint32_t rangeOffset_ = 0;
};

// The bytes a range of a track delivers: the track's bytes in proportion to the range's frame75
// length, cut to whole sample frames.
uint64_t SlotBytesForRange(uint64_t dataBytes, uint32_t lengthFrames, uint32_t rangeStart, uint32_t rangeEnd,
    uint32_t rangeOffset, uint32_t blockAlign);

} // namespace sonavel
