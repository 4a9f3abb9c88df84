#pragma once

#include "sources/MusicTypes.h"

namespace sonavel {

// Whether two entries may follow each other without restarting the output: not between a DFF
// and a DSF file, not between DSD and PCM, and only at the same rate.
bool IsSeamlessPair(const MusicTrackInfo& current, const MusicTrackInfo& next);

// A DFF file next to a DSF file (either order): never prepared one ahead of the other.
bool IsDffDsfPair(const MusicTrackInfo& current, const MusicTrackInfo& next);

} // namespace sonavel
