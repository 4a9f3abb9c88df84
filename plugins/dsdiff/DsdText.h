#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace sonavel::dsd {

// A tag text as the file holds it: raw bytes and their encoding code (0 system code page,
// 1 UTF-16 with byte-order mark, 2 UTF-16 big-endian, 3 UTF-8), stored with two zero bytes after
// them. Empty when the file has none.
struct DsdText {
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

// Copies a UTF-16 text into a caller's buffer of `capacity` characters: -2 when the buffer is
// null or not larger than the text, else 0.
int32_t CopyWideText(const std::u16string& text, char16_t* buffer, int32_t capacity);
// Copies a narrow text the same way.
int32_t CopyNarrowText(const std::string& text, char* buffer, int32_t capacity);
// UTF-8 form of a zero-terminated UTF-16 path, for the file system.
std::string PathToUtf8(const char16_t* path);

} // namespace sonavel::dsd
