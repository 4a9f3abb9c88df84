#include "sources/Mp3Tags.h"

#include "app/TextEncoding.h"
#include "app/TextFormat.h"
#include "sources/Mp3FrameHeader.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace sonavel {

namespace {

constexpr size_t kId3v2HeaderBytes = 10;
constexpr size_t kId3v1Bytes = 128;
constexpr size_t kId3v1ExtendedBytes = 227;

uint32_t Synchsafe(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0] & 0x7F) << 21 | static_cast<uint32_t>(p[1] & 0x7F) << 14 |
           static_cast<uint32_t>(p[2] & 0x7F) << 7 | static_cast<uint32_t>(p[3] & 0x7F);
}

bool IdIs(const uint8_t* id, const char* wanted, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        if (std::toupper(id[i]) != wanted[i]) {
            return false;
        }
    }
    return true;
}

std::u16string FrameText(std::span<const uint8_t> data)
{
    if (data.empty()) {
        return {};
    }
    std::vector<uint8_t> text(data.begin() + 1, data.end());
    text.push_back(0);
    text.push_back(0);
    return DecodeTagText(text, data[0]);
}

// The iTunSMPB comment of an ID3v2.2 "COM" frame: encoding 0, language, description, text.
void ReadItunesComment(std::span<const uint8_t> data, Mp3Tags& tags)
{
    constexpr std::string_view kDescription{"iTunSMPB", 9};
    if (data.size() < 4 + kDescription.size() || data[0] != 0 ||
        std::memcmp(data.data() + 4, kDescription.data(), kDescription.size()) != 0) {
        return;
    }
    const auto text = data.subspan(4 + kDescription.size());
    const auto* chars = reinterpret_cast<const char*>(text.data());
    const void* zero = std::memchr(chars, 0, text.size());
    ParseItunesGapless(std::string_view(chars, zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - chars) : text.size()), tags);
}

struct FrameLayout {
    size_t headerBytes;
    size_t idBytes;
    bool synchsafeSize;
};

bool WalkFrames(std::span<const uint8_t> tag, const FrameLayout& layout, Mp3Tags& out)
{
    const bool v22 = layout.idBytes == 3;
    size_t pos = kId3v2HeaderBytes;
    while (tag.size() - pos > layout.headerBytes - 1) {
        const uint8_t* header = tag.data() + pos;
        if (!v22 && header[0] == 0) {
            break;
        }
        uint64_t size = 0;
        if (v22) {
            size = uint64_t{header[3]} << 16 | uint64_t{header[4]} << 8 | header[5];
        } else {
            size = layout.synchsafeSize ? Synchsafe(header + 4) : LoadBe32(header + 4);
        }
        if (size > tag.size() - pos - layout.headerBytes) {
            return false;
        }
        const auto data = tag.subspan(pos + layout.headerBytes, static_cast<size_t>(size));
        if (v22) {
            if (IdIs(header, "TT2", 3)) {
                out.title = FrameText(data);
            } else if (IdIs(header, "TP1", 3)) {
                out.artist = FrameText(data);
            } else if (IdIs(header, "TAL", 3)) {
                out.album = FrameText(data);
            } else if (IdIs(header, "TRK", 3)) {
                out.trackNumber = static_cast<int32_t>(LeadingDecimal(FrameText(data), INT32_MAX));
            } else if (std::memcmp(header, "COM", 3) == 0) {
                ReadItunesComment(data, out);
            }
        } else if (IdIs(header, "TIT2", 4)) {
            out.title = FrameText(data);
        } else if (IdIs(header, "TPE1", 4)) {
            out.artist = FrameText(data);
        } else if (IdIs(header, "TALB", 4)) {
            out.album = FrameText(data);
        } else if (IdIs(header, "TRCK", 4)) {
            out.trackNumber = static_cast<int32_t>(LeadingDecimal(FrameText(data), INT32_MAX));
        }
        pos += layout.headerBytes + static_cast<size_t>(size);
    }
    return true;
}

std::u16string Id3v1Text(const uint8_t* field)
{
    char text[31] = {};
    std::memcpy(text, field, 30);
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ') {
        text[--length] = '\0';
    }
    return AnsiToWide(text);
}

} // namespace

uint64_t Id3v2TagBytes(std::span<const uint8_t> header)
{
    if (header.size() < kId3v2HeaderBytes || std::memcmp(header.data(), "ID3", 3) != 0) {
        return 0;
    }
    return kId3v2HeaderBytes + Synchsafe(header.data() + 6);
}

bool ParseId3v2Tag(std::span<const uint8_t> tag, Mp3Tags& out)
{
    const uint64_t size = Id3v2TagBytes(tag);
    if (size == 0 || tag.size() < size) {
        return false;
    }
    tag = tag.first(static_cast<size_t>(size));
    Mp3Tags parsed = out;
    parsed.title.clear();
    parsed.artist.clear();
    parsed.album.clear();
    parsed.trackNumber = 0;
    bool complete = false;
    if (tag[3] == 2 && tag[4] == 0) {
        complete = WalkFrames(tag, {6, 3, false}, parsed);
    } else if ((tag[3] == 3 || tag[3] == 4) && tag[4] == 0) {
        complete = WalkFrames(tag, {10, 4, tag[3] == 4}, parsed);
    }
    if (complete) {
        out = std::move(parsed);
    }
    return complete;
}

uint32_t ParseId3v1Tag(std::span<const uint8_t> regionEnd, Mp3Tags& out)
{
    if (regionEnd.size() < kId3v1Bytes) {
        return 0;
    }
    const uint8_t* tag = regionEnd.data() + regionEnd.size() - kId3v1Bytes;
    if (std::memcmp(tag, "TAG", 3) != 0) {
        return 0;
    }
    out.title = Id3v1Text(tag + 3);
    out.artist = Id3v1Text(tag + 33);
    out.album = Id3v1Text(tag + 63);
    if (regionEnd.size() >= kId3v1Bytes + kId3v1ExtendedBytes && std::memcmp(tag - kId3v1ExtendedBytes, "TAG+", 4) == 0) {
        return kId3v1Bytes + kId3v1ExtendedBytes;
    }
    return kId3v1Bytes;
}

bool ParseItunesGapless(std::string_view text, Mp3Tags& out)
{
    uint64_t numbers[4] = {};
    size_t count = 0;
    size_t pos = 0;
    while (count < 4) {
        while (pos < text.size() && text[pos] == ' ') {
            ++pos;
        }
        size_t digits = 0;
        uint64_t value = 0;
        while (pos < text.size() && std::isxdigit(static_cast<unsigned char>(text[pos])) && digits < 16) {
            const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[pos])));
            value = value * 16 + static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
            ++pos;
            ++digits;
        }
        if (digits == 0) {
            break;
        }
        numbers[count++] = value;
    }
    if (count < 4 || numbers[1] > UINT32_MAX || numbers[2] > UINT32_MAX) {
        return false;
    }
    out.hasItunes = true;
    out.itunesDelay = static_cast<uint32_t>(numbers[1]);
    out.itunesPadding = static_cast<uint32_t>(numbers[2]);
    out.itunesSamples = numbers[3];
    return true;
}

} // namespace sonavel
