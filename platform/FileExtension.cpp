#include "platform/FileExtension.h"

#include <algorithm>

namespace sonavel {

namespace {

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

} // namespace

std::u16string ExtensionOf(std::u16string_view path)
{
    const size_t dot = path.rfind(u'.');
    const size_t slash = path.rfind(u'/');
    if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && slash > dot)) {
        return {};
    }
    std::u16string extension(path.substr(dot + 1));
    std::transform(extension.begin(), extension.end(), extension.begin(), Lower);
    return extension;
}

std::u16string FileNameOf(std::u16string_view path)
{
    const size_t slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

} // namespace sonavel
