#pragma once

#include "platform/MessageQueue.h"

#include <cstdint>

namespace sonavel {

// The playback thread's messages. wParam and lParam as each comment says.
inline constexpr uint32_t WM_PLAYER_PLAY = WM_APP + 103;           // entry; bit 0 deselectAll, bit 1 force restart
inline constexpr uint32_t WM_PLAYER_SEEK = WM_APP + 104;           // whole seconds from the track's start
inline constexpr uint32_t WM_PLAYER_REPORT_TIME = WM_APP + 105;
inline constexpr uint32_t WM_PLAYER_STOP = WM_APP + 106;           // passed on with the stopped event
inline constexpr uint32_t WM_PLAYER_PAUSE = WM_APP + 107;          // toggles
inline constexpr uint32_t WM_PLAYER_PREVIOUS = WM_APP + 108;       // deselectAll
inline constexpr uint32_t WM_PLAYER_NEXT = WM_APP + 109;           // deselectAll
inline constexpr uint32_t WM_PLAYER_TRACK_END = WM_APP + 117;      // 0 switched to the prepared slot, 1 not
inline constexpr uint32_t WM_PLAYER_OUTPUT_CHANGED = WM_APP + 118;
inline constexpr uint32_t WM_PLAYER_SHUFFLE = WM_APP + 119;        // 0 off, 1 on
inline constexpr uint32_t WM_PLAYER_REPEAT = WM_APP + 120;         // repeat mode 0/1/2
inline constexpr uint32_t WM_PLAYER_PLAYLIST_CHANGED = WM_APP + 121;

inline constexpr intptr_t kPlayDeselectAll = 1;
inline constexpr intptr_t kPlayForceRestart = 2;

} // namespace sonavel
