#pragma once

#include "sources/ChunkList.h"
#include "sources/Memory.h"

#include <cstdint>

namespace sonavel {

// RAM mode's preferred store: memory locked into RAM (mlock), so a whole track stays resident
// while it plays. Reserve checks that the system can give it (64-bit, locking permitted for the
// size, free memory of size + 1 GiB); writes then lock runs of pages as data arrives.
class CAWEMemory : public IMemory {
public:
    // Pages are locked in runs of this many pages.
    static constexpr uint32_t kPagesPerRun = 256;

    explicit CAWEMemory(uint32_t pageSize);

    int Reserve(uint64_t size) override;
    void Clear() override;
    int Write(uint64_t offset, const void* source, uint32_t length) override;
    int Read(void* target, uint64_t offset, uint32_t length) override;
    uint64_t GetSize() override { return runs_.Bytes(); }

private:
    ChunkList runs_;
};

// Whether this process may lock `bytes` bytes: CAP_IPC_LOCK, or a large enough RLIMIT_MEMLOCK.
bool MayLockMemory(uint64_t bytes);

} // namespace sonavel
