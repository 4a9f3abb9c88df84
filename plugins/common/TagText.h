#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sonavel::plugin {

// A tag text as the file holds it: raw bytes and their encoding code (0 system code page,
// 1 UTF-16 with byte-order mark, 2 UTF-16 big-endian, 3 UTF-8), stored with two zero bytes after
// them. Empty when the file has none.
struct TagText {
    uint8_t encoding = 0;
    std::vector<uint8_t> bytes;

    bool Empty() const { return bytes.empty(); }
    void Set(const uint8_t* text, size_t length, uint8_t code)
    {
        bytes.assign(text, text + length);
        bytes.push_back(0);
        bytes.push_back(0);
        encoding = code;
    }
    void Clear()
    {
        bytes.clear();
        encoding = 0;
    }
};

using TagMap = std::map<std::string, std::string>;

// The player asks for each text with a buffer of 512 bytes and refuses the file when a text does
// not fit, so formats whose texts may be longer keep this many bytes at most.
constexpr size_t kMaxHostTextBytes = 510;
// Sets `text` to at most kMaxHostTextBytes of the given bytes; a UTF-8 text (code 3) is cut at a
// character boundary.
void SetTextForHost(TagText& text, const uint8_t* bytes, size_t length, uint8_t code);

// Copies a text's bytes (with its two zero bytes; nothing for an empty text) into a caller's
// buffer of `size` bytes and writes its encoding code (0 for an empty text); false when it does
// not fit.
bool CopyTagText(const TagText& text, void* buffer, int32_t size, int32_t* encoding);
// Rebuilds the table of narrow tag texts: for each non-empty text its key ("Artist", "Title",
// "Album", "Track") and, for encoding codes 0 to 3, "enc" + key with the encoding's name.
void FillTagTable(TagMap& table, const TagText& artist, const TagText& title, const TagText& album, const TagText& track);

// Copies a UTF-16 text into a caller's buffer of `capacity` characters: -2 when the buffer is
// null or not larger than the text, else 0.
int32_t CopyWideText(const std::u16string& text, char16_t* buffer, int32_t capacity);
// Copies a narrow text the same way.
int32_t CopyNarrowText(const std::string& text, char* buffer, int32_t capacity);
// UTF-8 form of a zero-terminated UTF-16 path, for the file system.
std::string PathToUtf8(const char16_t* path);

} // namespace sonavel::plugin
