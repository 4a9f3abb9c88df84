#include "TagText.h"

#include "plugin-api/PlayerPluginIF.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace sonavel::plugin {

namespace {

template <typename Char>
int32_t CopyText(const std::basic_string<Char>& text, Char* buffer, int32_t capacity)
{
    if (buffer == nullptr || capacity <= 0 || static_cast<size_t>(capacity) <= text.size()) {
        return PPI_BAD_ARGUMENT;
    }
    std::fill(buffer, buffer + capacity, Char{0});
    std::copy(text.begin(), text.end(), buffer);
    return PPI_OK;
}

void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | code >> 6));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | code >> 12));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | code >> 18));
        out.push_back(static_cast<char>(0x80 | (code >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

} // namespace

int32_t CopyWideText(const std::u16string& text, char16_t* buffer, int32_t capacity)
{
    return CopyText(text, buffer, capacity);
}

int32_t CopyNarrowText(const std::string& text, char* buffer, int32_t capacity)
{
    return CopyText(text, buffer, capacity);
}

bool CopyTagText(const TagText& text, void* buffer, int32_t size, int32_t* encoding)
{
    if (text.bytes.size() > static_cast<size_t>(size)) {
        return false;
    }
    if (!text.Empty()) {
        std::memcpy(buffer, text.bytes.data(), text.bytes.size());
    }
    *encoding = text.Empty() ? 0 : text.encoding;
    return true;
}

void FillTagTable(TagMap& table, const TagText& artist, const TagText& title, const TagText& album, const TagText& track)
{
    table.clear();
    static const char* const kEncodings[4] = {"ENC_SYSTEM", "ENC_UTF-16LE_BOM", "ENC_UTF-16BE", "ENC_UTF-8"};
    const std::pair<const char*, const TagText*> texts[4] = {{"Artist", &artist}, {"Title", &title}, {"Album", &album}, {"Track", &track}};
    for (const auto& [key, text] : texts) {
        if (text->Empty()) {
            continue;
        }
        table[key] = std::string(text->bytes.begin(), text->bytes.end() - 2);
        if (text->encoding <= 3) {
            table[std::string("enc") + key] = kEncodings[text->encoding];
        }
    }
}

void SetTextForHost(TagText& text, const uint8_t* bytes, size_t length, uint8_t code)
{
    size_t kept = std::min(length, kMaxHostTextBytes);
    if (code == 3 && kept < length) {
        // Back off over continuation bytes to the start of the character that was cut.
        while (kept > 0 && (bytes[kept] & 0xC0) == 0x80) {
            --kept;
        }
    }
    text.Set(bytes, kept, code);
}

std::string PathToUtf8(const char16_t* path)
{
    std::string out;
    for (const char16_t* p = path; *p != 0; ++p) {
        char32_t code = *p;
        if (code >= 0xD800 && code <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        AppendUtf8(out, code);
    }
    return out;
}

} // namespace sonavel::plugin
