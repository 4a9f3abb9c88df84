#include "engine/DecodedDataQueue.h"

#include "sources/NormalMemory.h"

#include <algorithm>

namespace sonavel {

int CDecodedDataQueue::InitStorage(uint32_t bytesPerFrame, uint64_t frames)
{
    std::lock_guard guard(lock_);
    ZeroCounters();
    bytesPerFrame_ = 0;
    memory_ = std::make_unique<CNormalMemory>();
    if (bytesPerFrame == 0 || frames > UINT64_MAX / bytesPerFrame || memory_->Reserve(frames * bytesPerFrame) == 0) {
        memory_.reset();
        return 0;
    }
    bytesPerFrame_ = bytesPerFrame;
    return 1;
}

int CDecodedDataQueue::Push(const void* source, uint32_t frames)
{
    std::lock_guard guard(lock_);
    if (bytesPerFrame_ == 0 || source == nullptr) {
        return 0;
    }
    const uint64_t capacity = memory_->GetSize();
    const uint64_t bytes = uint64_t{frames} * bytesPerFrame_;
    if (storedBytes_ + bytes > capacity) {
        return 0;
    }
    const auto* from = static_cast<const unsigned char*>(source);
    uint64_t rest = bytes;
    if (writeOffset_ + bytes >= capacity) {
        const uint64_t tail = capacity - writeOffset_;
        memory_->Write(writeOffset_, from, static_cast<uint32_t>(tail));
        from += tail;
        rest -= tail;
        writeOffset_ = 0;
    }
    memory_->Write(writeOffset_, from, static_cast<uint32_t>(rest));
    writeOffset_ += rest;
    storedBytes_ += bytes;
    return 1;
}

int CDecodedDataQueue::Pop(void* target, uint32_t frames)
{
    std::lock_guard guard(lock_);
    if (bytesPerFrame_ == 0 || target == nullptr) {
        return 0;
    }
    const uint64_t capacity = memory_->GetSize();
    const uint64_t bytes = std::min(uint64_t{frames} * bytesPerFrame_, storedBytes_);
    auto* to = static_cast<unsigned char*>(target);
    uint64_t rest = bytes;
    if (readOffset_ + bytes >= capacity) {
        const uint64_t tail = capacity - readOffset_;
        memory_->Read(to, readOffset_, static_cast<uint32_t>(tail));
        to += tail;
        rest -= tail;
        readOffset_ = 0;
    }
    memory_->Read(to, readOffset_, static_cast<uint32_t>(rest));
    readOffset_ += rest;
    storedBytes_ -= bytes;
    return static_cast<int>(bytes / bytesPerFrame_);
}

int CDecodedDataQueue::Seek(uint64_t)
{
    return 0;
}

} // namespace sonavel
