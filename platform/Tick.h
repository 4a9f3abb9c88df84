#pragma once

#include <cstdint>

namespace sonavel {

// Milliseconds of a steady clock; the 32-bit form wraps like the Windows tick counters it replaces.
uint64_t TickMs64();
uint32_t TickMs();

} // namespace sonavel
