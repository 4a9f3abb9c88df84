#include "engine/OutputSilence.h"

#include "engine/DopMarker.h"

namespace sonavel {

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
