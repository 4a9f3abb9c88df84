#pragma once

#include <cstdint>

namespace sonavel::test {

// Allocations made through operator new by this test program so far.
uint64_t AllocationCount();

} // namespace sonavel::test
