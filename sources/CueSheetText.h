#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// The text of a cue sheet: UTF-8, UTF-16LE or UTF-16BE by byte-order mark; without one, UTF-8 when
// the bytes are valid UTF-8, else Japanese Shift-JIS (CP932), the usual encoding of older sheets.
std::u16string DecodeCueSheet(std::string_view bytes);

// Splits a sheet line into at most 9 tokens: words separated by spaces or tabs, or texts in double
// or single quotes (without the quotes). The line ends at its first CR or LF.
std::vector<std::u16string> SplitCueLine(std::u16string_view line);

// "mm:ss:ff" in frame75 units (mm × 4500 + ss × 75 + ff), saturating at the 32-bit range.
uint32_t ParseCueTime(std::u16string_view text);

} // namespace sonavel
