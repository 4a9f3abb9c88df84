#pragma once

#include <cstdint>

namespace sonavel {

struct TimeReport {
    int32_t secondsInTrack = 0;
    int32_t secondsInPlaylist = 0;
};

// The rule behind every OnTime: the track's elapsed seconds, held at the known track length, and
// the same added to the seconds before the current entry in play order. With an unknown length
// (0) the play-order time is only the time before the entry.
TimeReport MakeTimeReport(int32_t elapsedSeconds, int32_t currentLength, int32_t secondsBefore);

} // namespace sonavel
