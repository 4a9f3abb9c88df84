#pragma once

#include <cstdint>
#include <span>

namespace sonavel {

// DSD over PCM: each 24-bit PCM sample carries a marker byte and two DSD bytes. The marker
// alternates 0x05, 0xFA, 0x05, ... on every output frame; a DAC that sees the alternation break
// leaves DSD mode. A marker state of 0 stands for 0x05 next, 1 for 0xFA next.
inline constexpr uint32_t kDopMarkerFirst = 0x05;
inline constexpr uint32_t kDopMarkerSecond = 0xFA;

constexpr uint32_t DopMarkerByte(uint32_t markerState) noexcept
{
    // 0x05 ^ 0xFF = 0xFA: a branch-free choice between the two markers.
    return kDopMarkerFirst ^ (0xFFu * (markerState & 1u));
}

// A DoP channel word: marker in bits 31..24, the earlier DSD byte in bits 23..16, the later in 15..8.
constexpr uint32_t DopWord(uint32_t markerState, uint32_t earlierByte, uint32_t laterByte) noexcept
{
    return DopMarkerByte(markerState) << 24 | (earlierByte & 0xFFu) << 16 | (laterByte & 0xFFu) << 8;
}

// DoP silence: DSD idle bytes 0x96 under the marker the alternation calls for.
constexpr uint32_t DopSilenceWord(uint32_t markerState) noexcept
{
    return DopWord(markerState, 0x96, 0x96);
}

// Gives DoP words the markers that continue a channel's alternation from `markerState`, keeping
// their DSD bytes; returns the state after the last word. The output does this for every word it
// sends, so that silence of any length between two runs of data cannot break the alternation.
uint32_t ContinueDopMarkers(std::span<uint32_t> words, uint32_t markerState) noexcept;

// The process-wide marker toggle of the feeder: it picks the marker and which half of a source
// word goes next. It is never reset, so the feeder's marker sequence runs on unbroken across
// channels' frames, blocks, tracks and seeks; the output carries it on across its own silence
// (ContinueDopMarkers). Atomic because the feeder flips it while other threads may read it.
uint32_t DopMarkerState() noexcept;
void FlipDopMarker() noexcept;
// As many flips as there were output frames.
void AdvanceDopMarker(uint64_t outputFrames) noexcept;

} // namespace sonavel
