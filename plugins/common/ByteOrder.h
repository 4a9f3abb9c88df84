#pragma once

#include <cstdint>

namespace sonavel::plugin {

// Unsigned integers of 1 to 8 bytes as files store them.
inline uint64_t LoadBe(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = value << 8 | p[i];
    }
    return value;
}

inline uint64_t LoadLe(const uint8_t* p, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | p[i];
    }
    return value;
}

} // namespace sonavel::plugin
