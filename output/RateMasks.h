#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace sonavel {

// The PCM and DoP carrier rates a device profile can refuse, bit k standing for kPcmRates[k].
inline constexpr std::array<uint32_t, 13> kPcmRates = {
    32000, 44100, 48000, 88200, 96000, 176400, 192000, 352800, 384000, 705600, 768000, 1411200, 1536000};
// The native DSD bit rates, bit k standing for kNativeDsdRates[k].
inline constexpr std::array<uint32_t, 12> kNativeDsdRates = {705600, 768000, 1411200, 1536000, 2822400,
    3072000, 5644800, 6144000, 11289600, 12288000, 22579200, 24576000};

// The mask bit of a rate in its table; nullopt when the rate is not in it.
std::optional<uint32_t> PcmRateBit(double rate);
std::optional<uint32_t> NativeDsdRateBit(double rate);

} // namespace sonavel
