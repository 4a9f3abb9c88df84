#pragma once

#include "engine/SampleConversion.h"

#include <cstdint>
#include <span>

namespace sonavel {

// The byte that fills output buffers before data arrives: DSD idle 0x96 for native DSD output,
// zero for PCM.
constexpr uint8_t OutputSilenceByte(bool nativeDsd) noexcept
{
    return nativeDsd ? 0x96 : 0x00;
}

// Fills `target` with DoP silence in the row's sample type, whole samples only, the markers
// going on from `markerState`. Returns the marker state after the last sample written, so the
// caller can keep each channel's alternation unbroken across buffer halves.
uint32_t FillDopSilence(const SampleTypeRow& row, std::span<uint8_t> target, uint32_t markerState) noexcept;

} // namespace sonavel
