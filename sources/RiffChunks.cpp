#include "sources/RiffChunks.h"

namespace sonavel {

std::optional<RiffChunk> ReadChunkHeader(const ReadOnlyFile& file, uint64_t pos)
{
    uint8_t header[8];
    if (file.ReadAt(pos, header) != static_cast<int64_t>(sizeof(header))) {
        return std::nullopt;
    }
    return RiffChunk{LoadLe32(header), LoadLe32(header + 4), pos + sizeof(header)};
}

std::optional<RiffChunk> FindChunk(const ReadOnlyFile& file, uint64_t pos, uint32_t id)
{
    // Every step moves at least one header forward, so the walk ends at the end of the file.
    while (auto chunk = ReadChunkHeader(file, pos)) {
        if (chunk->id == id) {
            return chunk;
        }
        pos = chunk->End();
    }
    return std::nullopt;
}

} // namespace sonavel
