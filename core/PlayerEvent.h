#pragma once

#include "core/PlayStartInfo.h"

#include <cstdint>
#include <memory>

namespace sonavel {

// Event numbers the engine raises through the player core's event sink. No other number is raised.
enum PlayerEvent : int32_t {
    kPlayerEventStopped = 0,
    // Carries the started track's PlayStartInfo; also raised for a seamless continuation.
    kPlayerEventStarted = 1,
    kPlayerEventPaused = 2,
    // Carries the value 1.
    kPlayerEventResumed = 4,
    // Carries the loading progress of a track expanded into memory, percent 1..100.
    kPlayerEventLoading = 5,
};

// The engine's one channel to the player core, called on the playback thread and on loader threads.
class IPlayerEventSink {
  public:
    virtual ~IPlayerEventSink() = default;
    // startInfo only with kPlayerEventStarted (the receiver owns it); value as the event says.
    virtual void OnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t value) = 0;
};

} // namespace sonavel
