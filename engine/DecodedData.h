#pragma once

#include "sources/Memory.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace sonavel {

// A track slot's store of raw frames between its loader and the feeder. Frames are kept exactly
// as the source delivered them; counts are whole frames.
class IDecodedData {
public:
    virtual ~IDecodedData() = default;
    virtual int InitStorage(uint32_t bytesPerFrame, uint64_t frames) = 0;
    virtual int Reset() = 0;
    virtual int Clear() = 0;
    virtual int Push(const void* source, uint32_t frames) = 0;
    virtual int Pop(void* target, uint32_t frames) = 0;
    virtual int Seek(uint64_t frame) = 0;
    virtual int HoldsWholeTrack() = 0;
    virtual uint64_t StoredFrames() = 0;
    virtual uint64_t CapacityFrames() = 0;
};

// State and operations the two containers share. Every operation runs under the one lock,
// copies included, so that the loader, the feeder and the playback thread can use it at once.
class CDecodedData : public IDecodedData {
public:
    int Reset() override;
    int Clear() override;
    uint64_t StoredFrames() override;
    uint64_t CapacityFrames() override;

protected:
    void ZeroCounters();

    std::mutex lock_;
    std::unique_ptr<IMemory> memory_;
    uint32_t bytesPerFrame_ = 0;
    uint64_t storedBytes_ = 0;
    uint64_t readOffset_ = 0;
    uint64_t writeOffset_ = 0;
};

} // namespace sonavel
