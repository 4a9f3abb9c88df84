#include "sources/CueSheetText.h"

#include "platform/CodePage.h"
#include "platform/Utf.h"

#include <algorithm>
#include <cstdint>

namespace sonavel {

namespace {

constexpr size_t kMaxTokens = 9;

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t';
}

std::u16string Utf16(std::string_view bytes, bool bigEndian)
{
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto hi = static_cast<uint8_t>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<uint8_t>(bytes[bigEndian ? i + 1 : i]);
        out.push_back(static_cast<char16_t>(hi << 8 | lo));
    }
    return out;
}

} // namespace

std::u16string DecodeCueSheet(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return Utf8ToUtf16(bytes.substr(3));
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        return Utf16(bytes.substr(2), false);
    }
    if (bytes.substr(0, 2) == "\xFE\xFF") {
        return Utf16(bytes.substr(2), true);
    }
    if (IsValidUtf8(bytes)) {
        return Utf8ToUtf16(bytes);
    }
    return DecodeCodePage(bytes, "CP932").value_or(Utf8ToUtf16(bytes));
}

std::vector<std::u16string> SplitCueLine(std::u16string_view line)
{
    line = line.substr(0, std::min(line.find(u'\r'), line.find(u'\n')));
    std::vector<std::u16string> tokens;
    size_t pos = 0;
    while (tokens.size() < kMaxTokens) {
        while (pos < line.size() && IsBlank(line[pos])) {
            ++pos;
        }
        if (pos >= line.size()) {
            break;
        }
        if (line[pos] == u'"' || line[pos] == u'\'') {
            const size_t close = line.find(line[pos], pos + 1);
            const size_t end = close == std::u16string_view::npos ? line.size() : close;
            tokens.emplace_back(line.substr(pos + 1, end - pos - 1));
            pos = end + 1;
        } else {
            size_t end = pos;
            while (end < line.size() && !IsBlank(line[end])) {
                ++end;
            }
            tokens.emplace_back(line.substr(pos, end - pos));
            pos = end;
        }
    }
    return tokens;
}

uint32_t ParseCueTime(std::u16string_view text)
{
    uint64_t parts[3] = {};
    size_t part = 0;
    for (const char16_t c : text) {
        if (c == u':') {
            if (++part == 3) {
                break;
            }
        } else if (c >= u'0' && c <= u'9') {
            parts[part] = std::min<uint64_t>(parts[part] * 10 + (c - u'0'), UINT32_MAX);
        } else {
            break;
        }
    }
    return static_cast<uint32_t>(std::min<uint64_t>(parts[0] * 4500 + parts[1] * 75 + parts[2], UINT32_MAX));
}

} // namespace sonavel
