#pragma once

#include <cstdint>
#include <vector>

namespace sonavel {

// Equal-sized chunks of anonymous memory that together form one linear store, optionally locked
// into RAM. Copies are split at chunk borders; the store never needs one contiguous range.
class ChunkList {
public:
    ChunkList(uint32_t chunkSize, bool locked) : chunkSize_(chunkSize), locked_(locked) {}
    ChunkList(const ChunkList&) = delete;
    ChunkList& operator=(const ChunkList&) = delete;
    ~ChunkList() { Release(); }

    uint32_t ChunkSize() const { return chunkSize_; }
    uint64_t Count() const { return chunks_.size(); }
    uint64_t Bytes() const { return Count() * chunkSize_; }
    // Chunks needed to hold `end` bytes.
    uint64_t ChunksFor(uint64_t end) const { return end / chunkSize_ + (end % chunkSize_ != 0 ? 1 : 0); }
    // Adds chunks until `count` exist; false when one cannot be had (those added stay).
    bool GrowTo(uint64_t count);
    // Both copies must lie inside the existing chunks.
    void CopyIn(uint64_t offset, const void* source, uint32_t length);
    void CopyOut(void* target, uint64_t offset, uint32_t length) const;
    // Frees every chunk, last first.
    void Release();

private:
    const uint32_t chunkSize_;
    const bool locked_;
    std::vector<unsigned char*> chunks_;
};

} // namespace sonavel
