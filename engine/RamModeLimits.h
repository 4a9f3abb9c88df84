#pragma once

#include "platform/MemoryStatus.h"

#include <cstdint>

namespace sonavel {

// Whether a track of `bytes` may be expanded into memory at all: at most 3.5 GiB, 1.2 × the
// available memory (counted up to 4 GiB), 0.9 × the installed memory, and the installed memory
// less 350 MiB.
bool RamModeTrackFits(uint64_t bytes, const MemoryStatus& memory);

// Whether loading may go on: 200 MiB of physical memory and 100 MiB of address space stay free.
bool RamModeHeadroomLeft(const MemoryStatus& memory);

} // namespace sonavel
