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

} // namespace sonavel
