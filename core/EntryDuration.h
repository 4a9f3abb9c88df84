#pragma once

#include "sources/MusicTypes.h"

#include <cstdint>

namespace sonavel {

// Length of a playlist entry in seconds. A whole file whose sample count agrees with its frame75
// length gives its exact length; cue and CD tracks, files whose counts disagree, and entries
// without a usable format give lengthFrames / 75.
double EntryDurationSeconds(const MusicTrackInfo& entry);

// Whole seconds, halves rounded up.
int32_t RoundSeconds(double seconds);

} // namespace sonavel
