#include "platform/VirtualMemory.h"

#include <sys/mman.h>
#include <unistd.h>

namespace sonavel {

uint32_t PageSize()
{
    static const uint32_t size = static_cast<uint32_t>(sysconf(_SC_PAGESIZE));
    return size;
}

void* MapPages(size_t bytes)
{
    if (bytes == 0) {
        return nullptr;
    }
    void* address = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return address == MAP_FAILED ? nullptr : address;
}

void UnmapPages(void* address, size_t bytes)
{
    if (address != nullptr && bytes != 0) {
        munmap(address, bytes);
    }
}

void* AllocBlock(size_t bytes)
{
    const size_t page = PageSize();
    if (bytes == 0 || bytes > SIZE_MAX - page) {
        return nullptr;
    }
    auto* base = static_cast<unsigned char*>(MapPages(bytes + page));
    if (base == nullptr) {
        return nullptr;
    }
    *reinterpret_cast<size_t*>(base) = bytes + page;
    return base + page;
}

void FreeBlock(void* block)
{
    if (block == nullptr) {
        return;
    }
    auto* base = static_cast<unsigned char*>(block) - PageSize();
    UnmapPages(base, *reinterpret_cast<size_t*>(base));
}

size_t BlockBytes(const void* block)
{
    if (block == nullptr) {
        return 0;
    }
    const auto* base = static_cast<const unsigned char*>(block) - PageSize();
    return *reinterpret_cast<const size_t*>(base) - PageSize();
}

} // namespace sonavel
