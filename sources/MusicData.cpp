#include "sources/MusicData.h"

#include "platform/VirtualMemory.h"
#include "sources/MusicResult.h"

#include <utility>

namespace sonavel {

namespace {

constexpr size_t kMaxSpareBytes = 32u << 20;

} // namespace

CMusicData::~CMusicData()
{
    FreeBlock(spareBlock_);
}

const MusicFileType* CMusicData::GetFileType()
{
    return nullptr;
}

int32_t CMusicData::Open(const MusicOpenParams*)
{
    return kResultOk;
}

int32_t CMusicData::GetTrackCount(int*)
{
    return kResultOk;
}

int32_t CMusicData::GetTrackInfo(int, MusicTrackInfo*)
{
    return kResultOk;
}

int32_t CMusicData::SetRange(uint32_t, uint32_t, uint32_t)
{
    return kResultOk;
}

int32_t CMusicData::ReadNext(void** block, uint32_t* bytes)
{
    if (block != nullptr) {
        *block = nullptr;
    }
    if (bytes != nullptr) {
        *bytes = 0;
    }
    return kResultOk;
}

int32_t CMusicData::ReadAll(void** block, uint32_t* bytes)
{
    return CMusicData::ReadNext(block, bytes);
}

void* CMusicData::AllocBuffer(uint32_t bytes)
{
    {
        std::lock_guard guard(spareMutex_);
        if (spareBlock_ != nullptr && BlockBytes(spareBlock_) >= bytes && bytes != 0) {
            return std::exchange(spareBlock_, nullptr);
        }
    }
    return AllocBlock(bytes);
}

void CMusicData::FreeBuffer(void* block)
{
    // A whole track read at once is not kept: it would double the memory a RAM-mode track takes.
    if (BlockBytes(block) > kMaxSpareBytes) {
        FreeBlock(block);
        return;
    }
    std::lock_guard guard(spareMutex_);
    FreeBlock(std::exchange(spareBlock_, block));
}

int32_t CMusicData::IsDsd(int* out)
{
    if (out == nullptr) {
        return kResultBadArgument;
    }
    *out = 0;
    return kResultOk;
}

int32_t CMusicData::SetDsdMode(int)
{
    return kResultOk;
}

int32_t CMusicData::CanPrepareAhead(int* out)
{
    if (out == nullptr) {
        return kResultBadArgument;
    }
    *out = 1;
    return kResultOk;
}

} // namespace sonavel
