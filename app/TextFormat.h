#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace sonavel {

using TextArg = std::variant<int64_t, std::u16string_view>;

// printf-style formatting of the string table's patterns: %d, %u, %x and %s with an optional
// zero flag and width ("%02d", "%08x"), and %%. %x prints the low 32 bits, as the patterns expect
// of result codes. A conversion without a matching argument is left out.
std::u16string FormatText(std::u16string_view pattern, std::initializer_list<TextArg> args);

// The decimal number at the start of a text ("7/12" gives 7), 0 without digits, at most `max`.
uint32_t LeadingDecimal(std::u16string_view text, uint32_t max = UINT32_MAX);

} // namespace sonavel
