#pragma once

#include "platform/File.h"

#include <cstdint>
#include <optional>

namespace sonavel {

constexpr uint32_t FourCC(const char (&id)[5])
{
    return static_cast<uint32_t>(static_cast<uint8_t>(id[0])) | static_cast<uint32_t>(static_cast<uint8_t>(id[1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(id[2])) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(id[3])) << 24;
}

inline uint16_t LoadLe16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

inline uint32_t LoadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// A RIFF chunk: 8-byte header (id, little-endian size), then size bytes and a pad byte when the
// size is odd.
struct RiffChunk {
    uint32_t id = 0;
    uint32_t size = 0;
    uint64_t dataOffset = 0;

    uint64_t End() const { return dataOffset + size + (size & 1u); }
};

// The chunk header at pos; nullopt when eight bytes cannot be read there.
std::optional<RiffChunk> ReadChunkHeader(const ReadOnlyFile& file, uint64_t pos);

// Walks the chunks from pos to the first one with the given id; nullopt when a header cannot be
// read first.
std::optional<RiffChunk> FindChunk(const ReadOnlyFile& file, uint64_t pos, uint32_t id);

} // namespace sonavel
