#include "core/PlayOrder.h"

namespace sonavel {

namespace {

PlayOrderStep Stop(int32_t position = -1, bool reshuffle = false)
{
    return {PlayOrderAction::Stop, position, reshuffle};
}

int32_t Wrap(int32_t position, int32_t count)
{
    if (position < 0) {
        return count - 1;
    }
    return position >= count ? 0 : position;
}

PlayOrderStep UserStep(int32_t direction, const PlayOrderState& state)
{
    if (state.count <= 0) {
        return Stop();
    }
    const int32_t target = state.position + direction;
    if (state.repeatMode == kRepeatDefault && (target < 0 || target >= state.count)) {
        return Stop();
    }
    return {PlayOrderAction::PlayFromStart, Wrap(target, state.count), false};
}

PlayOrderStep TrackEndStep(const PlayOrderState& state)
{
    // Nothing left to play after the playlist was emptied under the playing track.
    if (state.count <= 0) {
        return Stop(0);
    }
    if (state.repeatMode == kRepeatTitle) {
        return {PlayOrderAction::PlayFromStart, Wrap(state.position, state.count), false};
    }
    const bool atEnd = state.position + 1 >= state.count;
    if (!atEnd) {
        return {PlayOrderAction::Continue, state.position + 1, false};
    }
    if (state.repeatMode == kRepeatDefault) {
        return Stop(0, state.shuffle);
    }
    if (!state.shuffle) {
        return {PlayOrderAction::Continue, 0, false};
    }
    if (state.allPlayed) {
        return Stop(0, true);
    }
    return {PlayOrderAction::Continue, 0, true};
}

} // namespace

PlayOrderStep DecidePlayOrderStep(PlayOrderTrigger trigger, const PlayOrderState& state)
{
    switch (trigger) {
    case PlayOrderTrigger::Next:
        return UserStep(1, state);
    case PlayOrderTrigger::Previous:
        return UserStep(-1, state);
    case PlayOrderTrigger::TrackEnd:
        return TrackEndStep(state);
    }
    return Stop();
}

bool MayPrepareNext(int32_t repeatMode, int32_t position, int32_t count)
{
    if (repeatMode == kRepeatTitle || count <= 0) {
        return false;
    }
    const bool wraps = position + 1 >= count;
    return !(repeatMode == kRepeatDefault && wraps);
}

} // namespace sonavel
