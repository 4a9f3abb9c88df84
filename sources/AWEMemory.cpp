#include "sources/AWEMemory.h"

#include "platform/MemoryStatus.h"

#include <charconv>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace sonavel {

namespace {

constexpr uint64_t kReserveHeadroom = 0x40000000;
constexpr int kCapIpcLock = 14;

bool HasIpcLockCapability()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("CapEff:", 0) == 0) {
            const size_t digits = line.find_first_not_of(" \t", 7);
            uint64_t mask = 0;
            if (digits == std::string::npos ||
                std::from_chars(line.data() + digits, line.data() + line.size(), mask, 16).ec != std::errc{}) {
                return false;
            }
            return (mask >> kCapIpcLock & 1) != 0;
        }
    }
    return false;
}

} // namespace

bool MayLockMemory(uint64_t bytes)
{
    if (HasIpcLockCapability()) {
        return true;
    }
    rlimit limit{};
    return getrlimit(RLIMIT_MEMLOCK, &limit) == 0 && (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur >= bytes);
}

CAWEMemory::CAWEMemory(uint32_t pageSize) : runs_(pageSize * kPagesPerRun, true) {}

int CAWEMemory::Reserve(uint64_t size)
{
    static_assert(sizeof(void*) == 8, "locked stores need a 64-bit address space");
    if (!MayLockMemory(size)) {
        return 0;
    }
    Clear();
    const auto status = QueryMemoryStatus();
    if (!status || size > UINT64_MAX - kReserveHeadroom || status->availPhys < size + kReserveHeadroom) {
        return 0;
    }
    return 1;
}

void CAWEMemory::Clear()
{
    runs_.Release();
}

int CAWEMemory::Write(uint64_t offset, const void* source, uint32_t length)
{
    if (source == nullptr || offset > UINT64_MAX - length) {
        return 0;
    }
    if (!runs_.GrowTo(runs_.ChunksFor(offset + length))) {
        return 0;
    }
    runs_.CopyIn(offset, source, length);
    return 1;
}

int CAWEMemory::Read(void* target, uint64_t offset, uint32_t length)
{
    if (target == nullptr || offset > UINT64_MAX - length || runs_.ChunksFor(offset + length) > runs_.Count()) {
        return 0;
    }
    runs_.CopyOut(target, offset, length);
    return 1;
}

} // namespace sonavel
