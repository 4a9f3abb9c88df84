#pragma once

#include "engine/SampleConversion.h"

#include <cstdint>
#include <span>

namespace sonavel {

// Fills `target` with a silence word that is the same in every sample (PCM zero, or the DSD idle
// pattern 0x96969696 for native DSD output) in the row's sample type. A native DSD buffer thus
// holds the idle pattern in the device's own bit order and layout (bit-reversed bytes, one byte per
// bit), like the lead-in that reaches it as converted words. A sample that does not fit whole at
// the end gets the first bytes of its rendering.
void FillSilenceWord(const SampleTypeRow& row, std::span<uint8_t> target, uint32_t word) noexcept;

// Fills `target` with DoP silence in the row's sample type, whole samples only, the markers
// going on from `markerState`. Returns the marker state after the last sample written, so the
// caller can keep each channel's alternation unbroken across buffer halves.
uint32_t FillDopSilence(const SampleTypeRow& row, std::span<uint8_t> target, uint32_t markerState) noexcept;

} // namespace sonavel
