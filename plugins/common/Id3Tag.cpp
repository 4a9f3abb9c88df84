#include "Id3Tag.h"

#include "ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace sonavel::plugin {

namespace {

uint32_t Synchsafe(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] & 0x7F) << 21 | static_cast<uint32_t>(p[1] & 0x7F) << 14 |
           static_cast<uint32_t>(p[2] & 0x7F) << 7 | static_cast<uint32_t>(p[3] & 0x7F);
}

void SetFromFrame(TagText& text, std::span<const uint8_t> data)
{
    if (text.Empty() && !data.empty()) {
        text.Set(data.data() + 1, data.size() - 1, data[0]);
    }
}

} // namespace

void ParseId3v2(std::span<const uint8_t> tag, Id3Texts& texts)
{
    if (tag.size() < 10 || std::memcmp(tag.data(), "ID3", 3) != 0) {
        return;
    }
    const uint8_t version = tag[3];
    const uint8_t flags = tag[5];
    uint64_t end = std::min<uint64_t>(10 + uint64_t{Synchsafe(tag.data() + 6)}, tag.size());
    size_t pos = 10;
    TagText* const targets[4] = {&texts.title, &texts.artist, &texts.album, &texts.track};
    auto allSeen = [&targets] { return std::none_of(std::begin(targets), std::end(targets), [](const TagText* t) { return t->Empty(); }); };
    if (version == 2) {
        if ((flags & 0x40) != 0) {
            return;
        }
        static const char* const kIds[4] = {"TT2", "TP1", "TAL", "TRK"};
        while (end - pos >= 6 && !allSeen()) {
            const uint8_t* header = tag.data() + pos;
            const uint64_t size = LoadBe(header + 3, 3);
            if (size > end - pos - 6) {
                return;
            }
            for (int i = 0; i < 4; ++i) {
                if (std::memcmp(header, kIds[i], 3) == 0) {
                    SetFromFrame(*targets[i], tag.subspan(pos + 6, static_cast<size_t>(size)));
                }
            }
            pos += 6 + static_cast<size_t>(size);
        }
        return;
    }
    if (version != 3 && version != 4) {
        return;
    }
    if ((flags & 0x40) != 0) {
        if (end - pos < 4) {
            return;
        }
        if (version == 3) {
            const uint64_t extended = LoadBe(tag.data() + pos, 4);
            if ((extended != 6 && extended != 10) || end - pos < 10) {
                return;
            }
            const uint64_t padding = LoadBe(tag.data() + pos + 6, 4);
            end = end > padding ? end - padding : 0;
            pos += static_cast<size_t>(extended + 4);
        } else {
            pos += Synchsafe(tag.data() + pos);
        }
        if (pos > end) {
            return;
        }
    }
    static const char* const kIds[4] = {"TIT2", "TPE1", "TALB", "TRCK"};
    while (end - pos >= 10 && !allSeen()) {
        const uint8_t* header = tag.data() + pos;
        const uint64_t size = version == 3 ? LoadBe(header + 4, 4) : Synchsafe(header + 4);
        if (size > end - pos - 10) {
            return;
        }
        const uint8_t format = header[9];
        const bool packed = version == 3 ? (format & 0xE0) != 0 : (format & 0x4C) != 0;
        if (!packed) {
            for (int i = 0; i < 4; ++i) {
                if (std::memcmp(header, kIds[i], 4) == 0) {
                    SetFromFrame(*targets[i], tag.subspan(pos + 10, static_cast<size_t>(size)));
                }
            }
        }
        pos += 10 + static_cast<size_t>(size);
    }
}

} // namespace sonavel::plugin
