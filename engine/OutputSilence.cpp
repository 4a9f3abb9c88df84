#include "engine/OutputSilence.h"

#include "engine/DopMarker.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace sonavel {

namespace {

// The widest rendering of one channel word: 32 one-bit samples at a byte each.
constexpr size_t kMaxSampleBytes = 32;

} // namespace

void FillSilenceWord(const SampleTypeRow& row, std::span<uint8_t> target, uint32_t word) noexcept
{
    std::array<uint8_t, kMaxSampleBytes> sample{};
    row.convert(sample.data(), word);
    for (size_t offset = 0; offset < target.size(); offset += row.bytes) {
        std::memcpy(target.data() + offset, sample.data(), std::min<size_t>(row.bytes, target.size() - offset));
    }
}

uint32_t FillDopSilence(const SampleTypeRow& row, std::span<uint8_t> target, uint32_t markerState) noexcept
{
    const size_t samples = target.size() / row.bytes;
    markerState &= 1u;
    for (size_t index = 0; index < samples; ++index) {
        row.convert(target.data() + index * row.bytes, DopSilenceWord(markerState));
        markerState ^= 1u;
    }
    return markerState;
}

} // namespace sonavel
