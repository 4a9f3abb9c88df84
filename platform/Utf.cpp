#include "platform/Utf.h"

#include <utf8proc.h>

namespace sonavel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::u16string& out, char32_t code)
{
    if (code >= 0x10000) {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(code));
    }
}

} // namespace

bool IsValidUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    size_t pos = 0;
    while (pos < text.size()) {
        utf8proc_int32_t code = 0;
        const auto used = utf8proc_iterate(bytes + pos, static_cast<utf8proc_ssize_t>(text.size() - pos), &code);
        if (used <= 0) {
            return false;
        }
        pos += static_cast<size_t>(used);
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(text.data());
    size_t pos = 0;
    while (pos < text.size()) {
        utf8proc_int32_t code = 0;
        const auto used = utf8proc_iterate(bytes + pos, static_cast<utf8proc_ssize_t>(text.size() - pos), &code);
        if (used <= 0) {
            AppendUtf16(out, kReplacement);
            ++pos;
        } else {
            AppendUtf16(out, static_cast<char32_t>(code));
            pos += static_cast<size_t>(used);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        utf8proc_uint8_t buffer[4];
        const auto length = utf8proc_encode_char(static_cast<utf8proc_int32_t>(code), buffer);
        out.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(length));
    }
    return out;
}

} // namespace sonavel
