#pragma once

#include <cstddef>
#include <cstdint>

namespace sonavel {

// Committed, zero-filled, read-write anonymous pages. Stores keep their chunks at this granularity.
inline constexpr uint32_t kAllocationGranularity = 65536;

uint32_t PageSize();

// Maps `bytes` bytes (rounded up to whole pages); null for 0 bytes or when the system refuses.
void* MapPages(size_t bytes);
void UnmapPages(void* address, size_t bytes);

// A block that is released without its size: the size is kept in a page in front of it.
// Null for 0 bytes or on failure.
void* AllocBlock(size_t bytes);
void FreeBlock(void* block);
// The bytes a block holds, at least as many as were asked for.
size_t BlockBytes(const void* block);

} // namespace sonavel
