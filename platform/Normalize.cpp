#include "platform/Normalize.h"

#include "platform/Utf.h"

#include <cstdlib>
#include <utf8proc.h>

namespace sonavel {

std::optional<std::u16string> NormalizeNfc(std::u16string_view text)
{
    const std::string utf8 = Utf16ToUtf8(text);
    utf8proc_uint8_t* normalized = nullptr;
    const auto length = utf8proc_map(reinterpret_cast<const utf8proc_uint8_t*>(utf8.data()),
                                     static_cast<utf8proc_ssize_t>(utf8.size()), &normalized,
                                     static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE));
    if (length < 0) {
        return std::nullopt;
    }
    std::u16string result = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(normalized), static_cast<size_t>(length)));
    std::free(normalized);
    return result;
}

} // namespace sonavel
