#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sonavel {

// Takes title (TIT2) and artist (TPE1) from the ID3v2 tag held in a WAVE file's "id3 " chunk.
// Fields already set are kept; a chunk that does not hold the whole tag is ignored.
void ReadId3ChunkTags(std::span<const uint8_t> chunk, std::u16string& title, std::u16string& artist);

} // namespace sonavel
