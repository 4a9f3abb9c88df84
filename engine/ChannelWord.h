#pragma once

#include "sources/WaveFormat.h"

#include <cstdint>
#include <span>

namespace sonavel {

// Samples travel through the engine as channel words: one 32-bit word per channel per sample
// instant. PCM is signed, full scale and left-justified; native DSD is 32 one-bit samples in the
// source's own byte order; DoP is a 24-bit DoP sample in bits 31..8.

inline constexpr uint32_t kPcmSilenceWord = 0x00000000;
inline constexpr uint32_t kDsdSilenceWord = 0x96969696;

// One source block as the feeder walks it.
struct FetchDescriptor {
    const uint8_t* data = nullptr; // frameCount interleaved frames of format.nBlockAlign bytes
    uint32_t frameCount = 0;
    WAVEFORMATEX format{};
    uint8_t isDsd = 0;
    uint8_t dop = 0; // DSD sent as DoP rather than natively
    uint32_t frameIndex = 0;
};

// The silence word of the block's output kind; DoP silence takes the process-wide marker toggle.
uint32_t SilenceWord(const FetchDescriptor& block) noexcept;

// The channel word of output channel `channel` at the block's current frame. A mono source feeds
// channels 0 and 1; channels beyond the source's, frames beyond the block and sample sizes with
// no conversion give the silence word. DoP uses the process-wide marker toggle: its state picks
// the marker and which half of the 4-byte source word is sent.
uint32_t Fetch(uint32_t channel, const FetchDescriptor& block) noexcept;

// The channel words of `out.size()` consecutive output frames of one channel, starting at the
// block's current frame and, for DoP, at marker state `markerState`: the same words as calling
// Fetch once per frame and advancing in between, with the format decided once for the whole run.
void FetchRun(uint32_t channel, const FetchDescriptor& block, uint32_t markerState,
              std::span<uint32_t> out) noexcept;

// Moves the block on by `outputFrames` output frames as the feeder does after each frame: DoP
// flips the process-wide marker toggle once per output frame and moves to the next source frame
// each time the toggle returns to 0; other output moves one source frame per output frame.
void AdvanceOutputFrames(FetchDescriptor& block, uint32_t outputFrames) noexcept;

} // namespace sonavel
