#include "core/Shuffle.h"

#include <algorithm>
#include <chrono>

namespace sonavel {

void ShuffleOrder(std::span<int32_t> order, int32_t first, std::mt19937& generator)
{
    const auto n = static_cast<int32_t>(order.size());
    if (n == 0) {
        return;
    }
    if (first < 0 || first >= n) {
        first = -1;
    }
    std::fill(order.begin(), order.end(), -1);
    if (first != -1) {
        order[0] = first;
    }
    int32_t d = 0;
    for (int32_t i = 0; i < n; ++i) {
        if (i == first) {
            continue;
        }
        const auto r = static_cast<uint32_t>(generator());
        d += static_cast<int32_t>(r % static_cast<uint32_t>(n));
        if (d >= n) {
            d -= n;
        }
        while (order[d] != -1) {
            --d;
            if (d < 0) {
                d = n - 1;
            }
        }
        order[d] = i;
    }
}

std::mt19937 MakeShuffleGenerator()
{
    uint32_t seed = 0;
    try {
        seed = std::random_device{}();
    } catch (...) {
        // No usable OS source: the clock still gives a different order from one call to the next.
        seed = static_cast<uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }
    return std::mt19937(seed);
}

} // namespace sonavel
