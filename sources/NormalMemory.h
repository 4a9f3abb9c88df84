#pragma once

#include "sources/Memory.h"

namespace sonavel {

// One block of committed memory of a fixed size, below 4 GiB: the streaming queue's store.
class CNormalMemory : public IMemory {
public:
    CNormalMemory() = default;
    CNormalMemory(const CNormalMemory&) = delete;
    CNormalMemory& operator=(const CNormalMemory&) = delete;
    ~CNormalMemory() override;

    int Reserve(uint64_t size) override;
    void Clear() override;
    int Write(uint64_t offset, const void* source, uint32_t length) override;
    int Read(void* target, uint64_t offset, uint32_t length) override;
    uint64_t GetSize() override { return size_; }

private:
    bool Inside(uint64_t offset, uint32_t length) const;

    unsigned char* base_ = nullptr;
    uint64_t size_ = 0;
};

} // namespace sonavel
