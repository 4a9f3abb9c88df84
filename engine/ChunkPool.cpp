#include "engine/ChunkPool.h"

namespace sonavel {

namespace {

constexpr size_t kPoolChunks = 64;

} // namespace

ChunkPool::ChunkPool()
{
    spare_.reserve(kPoolChunks);
}

ChunkWords ChunkPool::Take()
{
    {
        std::lock_guard guard(mutex_);
        if (!spare_.empty()) {
            ChunkWords chunk = std::move(spare_.back());
            spare_.pop_back();
            return chunk;
        }
    }
    return std::make_unique_for_overwrite<uint32_t[]>(kChunkWords);
}

void ChunkPool::Give(ChunkWords chunk) noexcept
{
    if (!chunk) {
        return;
    }
    std::unique_lock guard(mutex_);
    if (spare_.size() < kPoolChunks) {
        spare_.push_back(std::move(chunk));
        return;
    }
    guard.unlock();
    chunk.reset();
}

} // namespace sonavel
