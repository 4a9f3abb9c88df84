#pragma once

namespace sonavel::command {

// Menu, button and context-menu command ids.
inline constexpr int kOpen = 57601;
inline constexpr int kOpenCd = 32800;
inline constexpr int kAddFiles = 32801;
inline constexpr int kRemove = 32841;
inline constexpr int kNewPlaylist = 32802;
inline constexpr int kLoadPlaylist = 32803;
inline constexpr int kSavePlaylist = 32804;
inline constexpr int kExit = 57665;
inline constexpr int kStop = 32810;
inline constexpr int kPause = 32811;
inline constexpr int kPlay = 32812;
inline constexpr int kPrevious = 32813;
inline constexpr int kNext = 32814;
inline constexpr int kShuffle = 32815;
inline constexpr int kOrderDefault = 32820;
inline constexpr int kOrderRepeatPlaylist = 32821;
inline constexpr int kOrderRepeatTitle = 32822;
inline constexpr int kDevice = 32830;
inline constexpr int kControlPanel = 32831;
inline constexpr int kAbout = 57664;
inline constexpr int kContextPlay = 32840;
inline constexpr int kContextProperties = 32842;

} // namespace sonavel::command
