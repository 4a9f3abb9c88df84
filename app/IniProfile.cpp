#include "app/IniProfile.h"

#include <string>
#include <utility>

namespace sonavel {

namespace {

std::u16string_view StripQuotes(std::u16string_view value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

} // namespace

CIniProfile::CIniProfile(IniFile document)
    : document_(std::move(document))
{
}

int32_t CIniProfile::GetProfileInt(std::u16string_view section, std::u16string_view key,
                                   int32_t fallback) const
{
    const std::u16string text = GetProfileString(section, key, u"");
    return text.empty() ? fallback : ParseProfileInt(text);
}

std::u16string CIniProfile::GetProfileString(std::u16string_view section, std::u16string_view key,
                                             std::u16string_view fallback) const
{
    const std::u16string* value = document_.Find(section, key);
    return std::u16string(value == nullptr ? fallback : StripQuotes(*value));
}

void CIniProfile::WriteProfileInt(std::u16string_view section, std::u16string_view key, int32_t value)
{
    const std::string digits = std::to_string(value);
    document_.Set(section, key, std::u16string(digits.begin(), digits.end()));
}

void CIniProfile::WriteProfileString(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view value)
{
    document_.Set(section, key, value);
}

int32_t ParseProfileInt(std::u16string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    uint32_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = magnitude * 10u + static_cast<uint32_t>(text[i] - u'0');
    }
    return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

} // namespace sonavel
