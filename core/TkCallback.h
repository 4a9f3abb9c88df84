#pragma once

#include "core/PlayStartInfo.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sonavel {

// Kinds of ITkCallback::OnStatus.
enum PlayStatusKind : int32_t {
    // value: the CD mode at that moment.
    kStatusStopped = 0,
    // startInfo: the started track.
    kStatusStarted = 1,
    // value 0 paused, 1 playing again.
    kStatusPaused = 2,
    // value: percent 1..100 of a track being expanded into memory.
    kStatusLoading = 3,
    // value 0: a seek has been carried out.
    kStatusSeeked = 4,
};

// Changes reported with ITkCallback::OnSourceMode.
enum SourceModeChange : int32_t {
    kSourceModeUnchanged = 0,
    kSourceModeToCd = 1,
    kSourceModeToFiles = 2,
};

// The view's face towards the player core and the engine. Called on the engine's threads (the
// playback thread, loader threads, the renderer's timer); the view marshals to its own thread.
class ITkCallback {
  public:
    virtual ~ITkCallback() = default;
    // A play request is being started.
    virtual void OnPrepare() = 0;
    // startInfo is set only with kStatusStarted; the receiver owns it.
    virtual void OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo) = 0;
    // Elapsed seconds of the current track and counted from the start of the play order.
    virtual void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) = 0;
    virtual void OnSourceMode(int32_t change) = 0;
    // Two operations that keep the interface's published layout; nothing calls them.
    virtual void OnUnused5(int32_t) {}
    virtual void OnUnused6() {}
    // The text of a track that could not be played: its title, else its file name, else
    // "unknown track".
    virtual void OnTrackText(std::u16string text, int32_t deselectAll) = 0;
};

} // namespace sonavel
