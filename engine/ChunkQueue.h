#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace sonavel {

// Channel words travel from the feeder to the buffer switch in chunks of this size.
inline constexpr uint32_t kChunkWords = 10240;
inline constexpr uint32_t kChunkBytes = kChunkWords * 4;
// Bound on queued chunks per channel; more than kPrimedChunks queued lets the output start.
inline constexpr size_t kMaxQueuedChunks = 300;
inline constexpr size_t kPrimedChunks = 29;

using ChunkWords = std::unique_ptr<uint32_t[]>;

// A chunk with the bytes of it that hold words; no words and no bytes mark the end of a track.
struct Chunk {
    ChunkWords words;
    uint32_t bytes = 0;
    bool IsEndMarker() const { return !words && bytes == 0; }
};

// One channel's FIFO of chunks. The ring is allocated once, so pushing and popping allocate
// nothing; the caller holds the renderer's queue lock.
class ChunkQueue {
public:
    ChunkQueue() : ring_(kMaxQueuedChunks + 2) { }

    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }
    // False when the ring is full.
    bool Push(Chunk chunk) noexcept;
    // The front chunk; an empty chunk record when the queue is empty.
    Chunk Pop() noexcept;
    void Clear() noexcept;

private:
    std::vector<Chunk> ring_;
    size_t head_ = 0;
    size_t size_ = 0;
};

} // namespace sonavel
