#include "engine/DecodedDataBuffer.h"

#include "platform/VirtualMemory.h"
#include "sources/AWEMemory.h"
#include "sources/RAMModeMemory.h"

#include <algorithm>

namespace sonavel {

int CDecodedDataBuffer::InitStorage(uint32_t bytesPerFrame, uint64_t frames)
{
    std::lock_guard guard(lock_);
    ZeroCounters();
    bytesPerFrame_ = 0;
    memory_.reset();
    if (bytesPerFrame == 0 || frames > UINT64_MAX / bytesPerFrame) {
        return 0;
    }
    const uint64_t size = frames * bytesPerFrame;
    memory_ = std::make_unique<CAWEMemory>(PageSize());
    if (memory_->Reserve(size) == 0) {
        memory_ = std::make_unique<CRAMModeMemory>(kAllocationGranularity);
        if (memory_->Reserve(size) == 0) {
            memory_.reset();
            return 0;
        }
    }
    bytesPerFrame_ = bytesPerFrame;
    return 1;
}

int CDecodedDataBuffer::Push(const void* source, uint32_t frames)
{
    std::lock_guard guard(lock_);
    const uint64_t bytes = uint64_t{frames} * bytesPerFrame_;
    if (bytesPerFrame_ == 0 || bytes > UINT32_MAX || memory_->Write(writeOffset_, source, static_cast<uint32_t>(bytes)) == 0) {
        return 0;
    }
    writeOffset_ += bytes;
    storedBytes_ += bytes;
    return 1;
}

int CDecodedDataBuffer::Pop(void* target, uint32_t frames)
{
    std::lock_guard guard(lock_);
    if (bytesPerFrame_ == 0) {
        return 0;
    }
    const uint64_t bytes = std::min(uint64_t{frames} * bytesPerFrame_, storedBytes_ - readOffset_);
    if (memory_->Read(target, readOffset_, static_cast<uint32_t>(bytes)) == 0) {
        return 0;
    }
    readOffset_ += bytes;
    return static_cast<int>(bytes / bytesPerFrame_);
}

int CDecodedDataBuffer::Seek(uint64_t frame)
{
    std::lock_guard guard(lock_);
    if (bytesPerFrame_ == 0) {
        return 0;
    }
    readOffset_ = frame > storedBytes_ / bytesPerFrame_ ? storedBytes_ : frame * bytesPerFrame_;
    return 1;
}

} // namespace sonavel
