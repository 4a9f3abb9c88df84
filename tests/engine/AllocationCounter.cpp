#include "tests/engine/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<uint64_t> gAllocations{0};
} // namespace

// Replaces the global allocation functions of this program so tests can show that a path
// allocates nothing.
void* operator new(size_t size)
{
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, size_t) noexcept
{
    std::free(p);
}

namespace sonavel::test {

uint64_t AllocationCount()
{
    return gAllocations.load();
}

} // namespace sonavel::test
