#include "engine/DopMarker.h"

#include <atomic>

namespace sonavel {

namespace {

std::atomic<uint32_t> markerToggle{0};

} // namespace

uint32_t DopMarkerState() noexcept
{
    return markerToggle.load(std::memory_order_relaxed);
}

void FlipDopMarker() noexcept
{
    markerToggle.fetch_xor(1u, std::memory_order_relaxed);
}

void AdvanceDopMarker(uint64_t outputFrames) noexcept
{
    markerToggle.fetch_xor(static_cast<uint32_t>(outputFrames & 1u), std::memory_order_relaxed);
}

uint32_t ContinueDopMarkers(std::span<uint32_t> words, uint32_t markerState) noexcept
{
    markerState &= 1u;
    const uint32_t first = DopMarkerByte(markerState) << 24;
    const uint32_t second = DopMarkerByte(markerState ^ 1u) << 24;
    for (size_t index = 0; index < words.size(); ++index) {
        words[index] = (words[index] & 0x00FFFFFFu) | ((index & 1u) == 0 ? first : second);
    }
    return markerState ^ static_cast<uint32_t>(words.size() & 1u);
}

} // namespace sonavel
