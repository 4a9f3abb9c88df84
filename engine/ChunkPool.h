#pragma once

#include "engine/ChunkQueue.h"

#include <mutex>
#include <vector>

namespace sonavel {

// Chunks the buffer switch has played, kept for the feeder to fill again: in steady playback
// neither thread allocates or frees, and the pages of a chunk stay mapped. A few dozen chunks
// cover the flow of one chunk per channel at a time; more are freed rather than kept.
class ChunkPool {
public:
    ChunkPool();

    // A spare chunk, or a new one when none is left.
    ChunkWords Take();
    // Keeps the chunk when there is room; never allocates.
    void Give(ChunkWords chunk) noexcept;

private:
    std::mutex mutex_;
    std::vector<ChunkWords> spare_;
};

} // namespace sonavel
