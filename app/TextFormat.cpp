#include "app/TextFormat.h"

#include <algorithm>
#include <vector>

namespace sonavel {

namespace {

std::u16string Digits(uint64_t value, unsigned base, bool negative = false)
{
    char16_t buffer[24];
    size_t n = 0;
    do {
        const unsigned digit = static_cast<unsigned>(value % base);
        buffer[n++] = static_cast<char16_t>(digit < 10 ? u'0' + digit : u'a' + digit - 10);
        value /= base;
    } while (value != 0);
    if (negative) {
        buffer[n++] = u'-';
    }
    std::reverse(buffer, buffer + n);
    return std::u16string(buffer, n);
}

std::u16string Convert(char16_t conversion, const TextArg& arg)
{
    if (conversion == u's') {
        const auto* text = std::get_if<std::u16string_view>(&arg);
        return text != nullptr ? std::u16string(*text) : std::u16string{};
    }
    const auto* number = std::get_if<int64_t>(&arg);
    if (number == nullptr) {
        return {};
    }
    switch (conversion) {
    case u'x':
        return Digits(static_cast<uint32_t>(*number), 16);
    case u'u':
        return Digits(static_cast<uint64_t>(*number), 10);
    default:
        return *number < 0 ? Digits(0 - static_cast<uint64_t>(*number), 10, true) : Digits(static_cast<uint64_t>(*number), 10);
    }
}

} // namespace

uint32_t LeadingDecimal(std::u16string_view text, uint32_t max)
{
    uint64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') {
            break;
        }
        value = value * 10 + static_cast<uint64_t>(c - u'0');
        if (value >= max) {
            return max;
        }
    }
    return static_cast<uint32_t>(value);
}

std::u16string FormatText(std::u16string_view pattern, std::initializer_list<TextArg> args)
{
    const std::vector<TextArg> values(args);
    size_t next = 0;
    std::u16string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != u'%' || i + 1 >= pattern.size()) {
            out.push_back(pattern[i]);
            continue;
        }
        size_t pos = i + 1;
        if (pattern[pos] == u'%') {
            out.push_back(u'%');
            i = pos;
            continue;
        }
        const bool zeroPad = pattern[pos] == u'0';
        size_t width = 0;
        while (pos < pattern.size() && pattern[pos] >= u'0' && pattern[pos] <= u'9') {
            width = width * 10 + (pattern[pos] - u'0');
            ++pos;
        }
        if (pos >= pattern.size()) {
            break;
        }
        const char16_t conversion = pattern[pos];
        std::u16string text = next < values.size() ? Convert(conversion, values[next]) : std::u16string{};
        ++next;
        const bool pad = text.size() < width;
        const bool negative = !text.empty() && text[0] == u'-';
        const bool zeros = zeroPad && conversion != u's';
        if (pad && zeros && negative) {
            out.push_back(u'-');
        }
        if (pad) {
            out.append(width - text.size(), zeros ? u'0' : u' ');
        }
        out.append(pad && zeros && negative ? std::u16string_view(text).substr(1) : std::u16string_view(text));
        i = pos;
    }
    return out;
}

} // namespace sonavel
