#include "sources/WaveId3Chunk.h"

#include "app/TextEncoding.h"

#include <cctype>
#include <vector>

namespace sonavel {

namespace {

constexpr size_t kTagHeaderBytes = 10;
constexpr size_t kFrameHeaderBytes = 10;

bool IdEquals(const uint8_t* id, const char* wanted)
{
    for (int i = 0; i < 4; ++i) {
        if (std::toupper(id[i]) != wanted[i]) {
            return false;
        }
    }
    return true;
}

std::u16string FrameText(std::span<const uint8_t> data)
{
    std::vector<uint8_t> text(data.begin() + 1, data.end());
    text.push_back(0);
    text.push_back(0);
    return DecodeTagText(text, data[0]);
}

} // namespace

void ReadId3ChunkTags(std::span<const uint8_t> chunk, std::u16string& title, std::u16string& artist)
{
    if (chunk.size() < kTagHeaderBytes || chunk[0] != 'I' || chunk[1] != 'D' || chunk[2] != '3') {
        return;
    }
    const uint64_t tagSize = ((uint64_t{chunk[6]} & 0x7F) << 21 | (uint64_t{chunk[7]} & 0x7F) << 14 |
                              (uint64_t{chunk[8]} & 0x7F) << 7 | (uint64_t{chunk[9]} & 0x7F)) +
                             kTagHeaderBytes;
    if (chunk.size() < tagSize) {
        return;
    }
    size_t pos = kTagHeaderBytes;
    while (pos + kFrameHeaderBytes <= tagSize && chunk[pos] != 0) {
        const uint8_t* header = chunk.data() + pos;
        const uint64_t size = uint64_t{header[4]} << 24 | uint64_t{header[5]} << 16 | uint64_t{header[6]} << 8 | header[7];
        if (size > tagSize - pos - kFrameHeaderBytes) {
            return;
        }
        const auto data = chunk.subspan(pos + kFrameHeaderBytes, static_cast<size_t>(size));
        if (!data.empty()) {
            if (title.empty() && IdEquals(header, "TIT2")) {
                title = FrameText(data);
            } else if (artist.empty() && IdEquals(header, "TPE1")) {
                artist = FrameText(data);
            }
        }
        pos += kFrameHeaderBytes + static_cast<size_t>(size);
    }
}

} // namespace sonavel
