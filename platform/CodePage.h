#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sonavel {

// Converts bytes in the given iconv code page to UTF-16; nullopt when the code page is unknown or
// the bytes are not valid in it.
std::optional<std::u16string> DecodeCodePage(std::string_view bytes, const std::string& codePage);

// The code page of legacy (non-UTF-8) texts: $SONAVEL_LEGACY_CODEPAGE, else CP1252.
std::string LegacyCodePage();

// Text in the system's narrow encoding: valid UTF-8 is UTF-8, anything else the legacy code page.
// Empty when neither reading works.
std::u16string DecodeSystemText(std::string_view bytes);

} // namespace sonavel
