#pragma once

#include <string>
#include <string_view>

namespace sonavel {

// Guesses the code page of a text without declared encoding, as an iconv name ("UTF-8", "CP932",
// "WINDOWS-1252", ...); empty when no guess can be made. Valid UTF-8 is always "UTF-8", because
// the detector misjudges short texts.
std::string DetectCodePage(std::string_view bytes);

} // namespace sonavel
