#include "sources/NormalMemory.h"

#include "platform/VirtualMemory.h"

#include <cstring>

namespace sonavel {

CNormalMemory::~CNormalMemory()
{
    Clear();
}

int CNormalMemory::Reserve(uint64_t size)
{
    Clear();
    if (size > UINT32_MAX) {
        return 0;
    }
    base_ = static_cast<unsigned char*>(MapPages(static_cast<size_t>(size)));
    if (base_ == nullptr) {
        return 0;
    }
    size_ = size;
    return 1;
}

void CNormalMemory::Clear()
{
    UnmapPages(base_, static_cast<size_t>(size_));
    base_ = nullptr;
    size_ = 0;
}

bool CNormalMemory::Inside(uint64_t offset, uint32_t length) const
{
    return base_ != nullptr && offset <= size_ && length <= size_ - offset;
}

int CNormalMemory::Write(uint64_t offset, const void* source, uint32_t length)
{
    if (source == nullptr || !Inside(offset, length)) {
        return 0;
    }
    std::memcpy(base_ + offset, source, length);
    return 1;
}

int CNormalMemory::Read(void* target, uint64_t offset, uint32_t length)
{
    if (target == nullptr || !Inside(offset, length)) {
        return 0;
    }
    std::memcpy(target, base_ + offset, length);
    return 1;
}

} // namespace sonavel
