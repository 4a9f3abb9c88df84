#include "sources/MusicData.h"

#include "platform/VirtualMemory.h"
#include "sources/MusicResult.h"

namespace sonavel {

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
    return AllocBlock(bytes);
}

void CMusicData::FreeBuffer(void* block)
{
    FreeBlock(block);
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
