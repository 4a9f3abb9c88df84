#include "engine/ChunkQueue.h"

namespace sonavel {

bool ChunkQueue::Push(Chunk chunk) noexcept
{
    if (size_ == ring_.size()) {
        return false;
    }
    ring_[(head_ + size_) % ring_.size()] = std::move(chunk);
    ++size_;
    return true;
}

Chunk ChunkQueue::Pop() noexcept
{
    if (size_ == 0) {
        return {};
    }
    Chunk front = std::move(ring_[head_]);
    head_ = (head_ + 1) % ring_.size();
    --size_;
    return front;
}

void ChunkQueue::Clear() noexcept
{
    while (size_ > 0) {
        Pop();
    }
    head_ = 0;
}

} // namespace sonavel
