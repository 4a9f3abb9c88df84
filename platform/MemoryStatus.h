#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sonavel {

struct MemoryStatus {
    uint64_t totalPhys = 0;
    uint64_t availPhys = 0;
    uint64_t totalVirtual = 0;
    uint64_t availVirtual = 0;
};

// Reads MemTotal and MemAvailable (kB) from the text of /proc/meminfo.
std::optional<MemoryStatus> ParseMemInfo(std::string_view text);
// Physical memory from /proc/meminfo, address space of this 64-bit process from /proc/self/statm.
std::optional<MemoryStatus> QueryMemoryStatus();

} // namespace sonavel
