#pragma once

#include <cstdint>
#include <string_view>

namespace sonavel {

// The program's user-visible texts by string id. An id without a text answers an empty view.
std::u16string_view LoadString(uint32_t id);
bool HasString(uint32_t id);

// Ids the program code refers to by name.
namespace strings {
inline constexpr uint32_t kAboutCaption = 100;
inline constexpr uint32_t kPreferencesCaption = 101;
inline constexpr uint32_t kErrorWindowCaption = 102;
inline constexpr uint32_t kOpenCdCaption = 103;
inline constexpr uint32_t kPropertiesCaption = 104;
inline constexpr uint32_t kWindowClassName = 141;
inline constexpr uint32_t kNoOutputDevice = 160;
inline constexpr uint32_t kPlaylistChanged = 161;
inline constexpr uint32_t kLoading = 170;
inline constexpr uint32_t kPause = 171;
inline constexpr uint32_t kStop = 172;
inline constexpr uint32_t kOk = 180;
inline constexpr uint32_t kCancel = 181;
inline constexpr uint32_t kAllMusicFile = 25010;
inline constexpr uint32_t kWaveFile = 25011;
inline constexpr uint32_t kMp3File = 25012;
inline constexpr uint32_t kCueSheet = 25013;
inline constexpr uint32_t kCueTrackTitle = 25015;
inline constexpr uint32_t kParameterError = 25016;
inline constexpr uint32_t kIllegalSequence = 25017;
inline constexpr uint32_t kCannotOpenFile = 25018;
inline constexpr uint32_t kBrokenFile = 25019;
inline constexpr uint32_t kCannotAllocate = 25020;
inline constexpr uint32_t kReadError = 25021;
inline constexpr uint32_t kTooLargeFile = 25022;
inline constexpr uint32_t kUnknownError = 25023;
inline constexpr uint32_t kDeviceNotAvailable = 25024;
inline constexpr uint32_t kFormatNotSupported = 25025;
inline constexpr uint32_t kNotEnoughMemory = 25026;
inline constexpr uint32_t kDeviceError = 25027;
inline constexpr uint32_t kApplicationTitle = 57344;
} // namespace strings

} // namespace sonavel
