#pragma once

#include <cstdint>

namespace sonavel {

enum PlayRepeatMode : int32_t {
    kRepeatDefault = 0,
    kRepeatTitle = 1,
    kRepeatPlaylist = 2,
};

enum class PlayOrderTrigger { Next, Previous, TrackEnd };

enum class PlayOrderAction {
    Stop,
    // Play the entry at the new position from its start.
    PlayFromStart,
    // Go on with the entry at the new position, seamlessly from the prepared slot where possible.
    Continue,
};

// What the playback thread does when a trigger moves it through the play order.
struct PlayOrderStep {
    PlayOrderAction action = PlayOrderAction::Stop;
    // The position to set; -1 leaves the position as it is.
    int32_t position = -1;
    // Make a new shuffled order without a fixed first entry before setting the position.
    bool reshuffle = false;
};

// The state a decision looks at: entry count, play position, shuffle, repeat mode and whether every
// entry carries the played (unplayable) mark.
struct PlayOrderState {
    int32_t repeatMode = kRepeatDefault;
    bool shuffle = false;
    int32_t position = 0;
    int32_t count = 0;
    bool allPlayed = false;
};

PlayOrderStep DecidePlayOrderStep(PlayOrderTrigger trigger, const PlayOrderState& state);

// Whether the entry at the next position may be prepared ahead: never in repeat-title mode, and in
// the default mode not when the next position wraps to the start.
bool MayPrepareNext(int32_t repeatMode, int32_t position, int32_t count);

} // namespace sonavel
