#pragma once

#include <cstdint>

namespace sonavel {

// Result codes of the music sources.
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultBadArgument = -1000;
inline constexpr int32_t kResultOutOfOrder = -1001;
inline constexpr int32_t kResultCannotOpen = -1100;
inline constexpr int32_t kResultBroken = -1101;
inline constexpr int32_t kResultNoMemory = -1102;
inline constexpr int32_t kResultReadError = -1103;
inline constexpr int32_t kResultTooLarge = -1104;
inline constexpr int32_t kResultNoMedium = -1105;
inline constexpr int32_t kResultEndOfRange = -1200;

} // namespace sonavel
