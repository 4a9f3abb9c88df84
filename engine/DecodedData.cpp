#include "engine/DecodedData.h"

namespace sonavel {

void CDecodedData::ZeroCounters()
{
    storedBytes_ = 0;
    readOffset_ = 0;
    writeOffset_ = 0;
}

int CDecodedData::Reset()
{
    std::lock_guard guard(lock_);
    ZeroCounters();
    bytesPerFrame_ = 0;
    memory_.reset();
    return 1;
}

int CDecodedData::Clear()
{
    std::lock_guard guard(lock_);
    ZeroCounters();
    return 1;
}

uint64_t CDecodedData::StoredFrames()
{
    std::lock_guard guard(lock_);
    return bytesPerFrame_ == 0 ? 0 : storedBytes_ / bytesPerFrame_;
}

uint64_t CDecodedData::CapacityFrames()
{
    std::lock_guard guard(lock_);
    return bytesPerFrame_ == 0 || !memory_ ? 0 : memory_->GetSize() / bytesPerFrame_;
}

} // namespace sonavel
