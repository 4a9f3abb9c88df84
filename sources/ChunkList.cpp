#include "sources/ChunkList.h"

#include "platform/VirtualMemory.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>

namespace sonavel {

bool ChunkList::GrowTo(uint64_t count)
{
    while (chunks_.size() < count) {
        auto* chunk = static_cast<unsigned char*>(MapPages(chunkSize_));
        if (chunk == nullptr) {
            return false;
        }
        if (locked_ && mlock(chunk, chunkSize_) != 0) {
            UnmapPages(chunk, chunkSize_);
            return false;
        }
        chunks_.push_back(chunk);
    }
    return true;
}

void ChunkList::CopyIn(uint64_t offset, const void* source, uint32_t length)
{
    const auto* from = static_cast<const unsigned char*>(source);
    while (length > 0) {
        const uint32_t inside = static_cast<uint32_t>(offset % chunkSize_);
        const uint32_t piece = std::min(chunkSize_ - inside, length);
        std::memcpy(chunks_[static_cast<size_t>(offset / chunkSize_)] + inside, from, piece);
        from += piece;
        offset += piece;
        length -= piece;
    }
}

void ChunkList::CopyOut(void* target, uint64_t offset, uint32_t length) const
{
    auto* to = static_cast<unsigned char*>(target);
    while (length > 0) {
        const uint32_t inside = static_cast<uint32_t>(offset % chunkSize_);
        const uint32_t piece = std::min(chunkSize_ - inside, length);
        std::memcpy(to, chunks_[static_cast<size_t>(offset / chunkSize_)] + inside, piece);
        to += piece;
        offset += piece;
        length -= piece;
    }
}

void ChunkList::Release()
{
    while (!chunks_.empty()) {
        // munmap also unlocks the pages.
        UnmapPages(chunks_.back(), chunkSize_);
        chunks_.pop_back();
    }
}

} // namespace sonavel
