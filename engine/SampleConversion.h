#pragma once

#include "engine/AsioSampleType.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace sonavel {

// Writes one channel word in a driver's sample type; returns the bytes written. One call covers
// one PCM sample or 32 DSD samples.
using ConvertFn = uint32_t (*)(uint8_t* target, uint32_t word) noexcept;
// The same for consecutive words; returns the bytes written (words × bytes of the row).
using ConvertRunFn = size_t (*)(uint8_t* target, std::span<const uint32_t> words) noexcept;

// One row of the sample type table, looked up once per output channel so that the callback
// converts without deciding anything per sample.
struct SampleTypeRow {
    AsioSampleType type;
    uint32_t bits;  // bits per output sample; bytes × 8 / bits samples are played per call
    uint32_t bytes; // bytes written per channel word
    ConvertFn convert;
    ConvertRunFn convertRun;
};

// The row of a sample type; null for a type without one (its buffers are never written).
const SampleTypeRow* FindSampleTypeRow(int32_t type) noexcept;

// Every row, in type order.
std::span<const SampleTypeRow> SampleTypeRows() noexcept;

} // namespace sonavel
