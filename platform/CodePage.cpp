#include "platform/CodePage.h"

#include "platform/Utf.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>

namespace sonavel {

std::optional<std::u16string> DecodeCodePage(std::string_view bytes, const std::string& codePage)
{
    iconv_t converter = iconv_open("UTF-16LE", codePage.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::u16string out;
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char16_t buffer[256];
    bool ok = true;
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, (sizeof(buffer) - outLeft) / sizeof(char16_t));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(converter);
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

std::string LegacyCodePage()
{
    const char* configured = std::getenv("SONAVEL_LEGACY_CODEPAGE");
    return configured != nullptr && *configured != '\0' ? configured : "CP1252";
}

std::u16string DecodeSystemText(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return Utf8ToUtf16(bytes);
    }
    return DecodeCodePage(bytes, LegacyCodePage()).value_or(std::u16string{});
}

} // namespace sonavel
