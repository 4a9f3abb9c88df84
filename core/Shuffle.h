#pragma once

#include <cstdint>
#include <random>
#include <span>

namespace sonavel {

// Fills order with a random permutation of 0..n-1 (n = order.size()). With first in 0..n-1 that
// entry is placed at the start; first = -1 fixes nothing. Each entry takes one raw 32-bit draw:
// the walk position moves on by draw mod n, and a taken slot sends the walk downwards, wrapping.
void ShuffleOrder(std::span<int32_t> order, int32_t first, std::mt19937& generator);

// A generator seeded with one value from the operating system's random source.
std::mt19937 MakeShuffleGenerator();

} // namespace sonavel
