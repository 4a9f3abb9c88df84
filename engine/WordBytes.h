#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace sonavel {

// Unaligned loads and stores of sample bytes. The engine runs on little-endian hosts only, so a
// little-endian access is a plain copy and a big-endian one a byte swap.
static_assert(std::endian::native == std::endian::little);

template <typename T>
inline T LoadUnaligned(const uint8_t* source) noexcept
{
    T value;
    std::memcpy(&value, source, sizeof value);
    return value;
}

template <typename T>
inline void StoreUnaligned(uint8_t* target, T value) noexcept
{
    std::memcpy(target, &value, sizeof value);
}

inline uint16_t ByteSwap(uint16_t value) noexcept
{
    return __builtin_bswap16(value);
}

inline uint32_t ByteSwap(uint32_t value) noexcept
{
    return __builtin_bswap32(value);
}

inline uint64_t ByteSwap(uint64_t value) noexcept
{
    return __builtin_bswap64(value);
}

} // namespace sonavel
