#include "engine/RamModeLimits.h"

#include <algorithm>

namespace sonavel {

namespace {

constexpr double kAbsoluteLimit = 3758096384.0;
constexpr uint64_t kAvailableCap = 4ull << 30;
constexpr uint64_t kReservedForSystem = 367001600;
constexpr uint64_t kMinAvailablePhysical = 209715200;
constexpr uint64_t kMinAvailableVirtual = 104857600;

} // namespace

bool RamModeTrackFits(uint64_t bytes, const MemoryStatus& memory)
{
    const auto size = static_cast<double>(bytes);
    if (size > kAbsoluteLimit) {
        return false;
    }
    if (size > 1.2 * static_cast<double>(std::min(memory.availPhys, kAvailableCap))) {
        return false;
    }
    if (size > 0.9 * static_cast<double>(memory.totalPhys)) {
        return false;
    }
    return memory.totalPhys >= kReservedForSystem && bytes <= memory.totalPhys - kReservedForSystem;
}

bool RamModeHeadroomLeft(const MemoryStatus& memory)
{
    return memory.availPhys >= kMinAvailablePhysical && memory.availVirtual >= kMinAvailableVirtual;
}

} // namespace sonavel
