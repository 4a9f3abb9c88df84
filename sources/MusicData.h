#pragma once

#include "sources/MusicTypes.h"

#include <cstdint>
#include <mutex>

namespace sonavel {

// The interface through which the player sees a piece of music. The defaults are those of a
// source that holds nothing; every reader overrides what it supports.
class CMusicData {
public:
    CMusicData() = default;
    CMusicData(const CMusicData&) = delete;
    CMusicData& operator=(const CMusicData&) = delete;
    virtual ~CMusicData();

    virtual const MusicFileType* GetFileType();
    virtual int32_t Open(const MusicOpenParams* params);
    virtual int32_t GetTrackCount(int* count);
    virtual int32_t GetTrackInfo(int index, MusicTrackInfo* out);
    virtual int32_t SetRange(uint32_t firstFrame, uint32_t lastFrame, uint32_t offsetFrames);
    // The block belongs to the caller, who returns it with FreeBuffer of this source.
    virtual int32_t ReadNext(void** block, uint32_t* bytes);
    virtual int32_t ReadAll(void** block, uint32_t* bytes);
    virtual void* AllocBuffer(uint32_t bytes);
    virtual void FreeBuffer(void* block);
    virtual int32_t IsDsd(int* out);
    virtual int32_t SetDsdMode(int mode);
    virtual int32_t CanPrepareAhead(int* out);

private:
    // The last block returned, kept for the next AllocBuffer: a reader hands out one block per
    // read, and mapping and unmapping fresh pages for each costs more than the read itself.
    std::mutex spareMutex_;
    void* spareBlock_ = nullptr;
};

} // namespace sonavel
