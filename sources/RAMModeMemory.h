#pragma once

#include "sources/ChunkList.h"
#include "sources/Memory.h"

namespace sonavel {

// Grows by allocation-granularity chunks as data is written: the fallback store of RAM mode.
// Offsets stay below 4 GiB.
class CRAMModeMemory : public IMemory {
public:
    explicit CRAMModeMemory(uint32_t chunkSize);

    int Reserve(uint64_t size) override;
    void Clear() override;
    int Write(uint64_t offset, const void* source, uint32_t length) override;
    int Read(void* target, uint64_t offset, uint32_t length) override;
    uint64_t GetSize() override { return chunks_.Bytes(); }

private:
    ChunkList chunks_;
};

} // namespace sonavel
