#pragma once

#include "engine/OutputSettings.h"

#include <cstdint>

namespace sonavel {

class IPlayerEventSink;
class ITkCallback;

// What the player core's files share and the front ends do not call.

// The core's two faces towards the playback thread: the event sink that forwards to
// CoreOnPlayerEvent, and a callback that forwards to whatever view is in Core().callback at the
// moment of each call, so that clearing that field silences the engine at once.
IPlayerEventSink& CoreEventSink();
ITkCallback& CoreCallbackRelay();

// The output settings of the configuration, for the engine's copy.
OutputSettings CoreConfiguredOutputSettings();

// Posts to the playback thread when there is one.
void CorePost(uint32_t message, uintptr_t wParam, intptr_t lParam);

// Remembers the CD mode, leaves it and lets files be dragged and dropped again.
void CoreLeaveCdMode();

// The change of the last command for OnSourceMode: unchanged, to CD or to files.
int32_t CoreSourceModeChange();

// Tells the playback thread that the playlist changed under it and the view how the source mode
// changed, then asks for a time report.
void CoreReportPlaylistEdit();

} // namespace sonavel
