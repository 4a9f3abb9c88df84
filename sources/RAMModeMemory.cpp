#include "sources/RAMModeMemory.h"

namespace sonavel {

CRAMModeMemory::CRAMModeMemory(uint32_t chunkSize) : chunks_(chunkSize, false) {}

int CRAMModeMemory::Reserve(uint64_t)
{
    return 1;
}

void CRAMModeMemory::Clear()
{
    chunks_.Release();
}

int CRAMModeMemory::Write(uint64_t offset, const void* source, uint32_t length)
{
    if (source == nullptr || offset >= UINT32_MAX || offset + length > UINT32_MAX) {
        return 0;
    }
    if (!chunks_.GrowTo(chunks_.ChunksFor(offset + length))) {
        return 0;
    }
    chunks_.CopyIn(offset, source, length);
    return 1;
}

int CRAMModeMemory::Read(void* target, uint64_t offset, uint32_t length)
{
    if (target == nullptr || offset > UINT64_MAX - length) {
        return 0;
    }
    const uint64_t needed = chunks_.ChunksFor(offset + length);
    if (needed > UINT32_MAX || needed > chunks_.Count()) {
        return 0;
    }
    chunks_.CopyOut(target, offset, length);
    return 1;
}

} // namespace sonavel
