#pragma once

#include <cstdint>

namespace sonavel {

// A byte store with 64-bit offsets for decoded audio. Results are 1 for success and 0 for
// failure; a failure leaves existing data as it was. A store is not locked by itself.
class IMemory {
public:
    virtual ~IMemory() = default;
    virtual int Reserve(uint64_t size) = 0;
    virtual void Clear() = 0;
    virtual int Write(uint64_t offset, const void* source, uint32_t length) = 0;
    virtual int Read(void* target, uint64_t offset, uint32_t length) = 0;
    virtual uint64_t GetSize() = 0;
};

} // namespace sonavel
