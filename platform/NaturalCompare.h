#pragma once

#include <string_view>

namespace sonavel {

// Orders file names as people read them: runs of digits compare by their numeric value ("2" before
// "10"), letters compare without case. Returns <0, 0 or >0.
int NaturalCompare(std::u16string_view a, std::u16string_view b);

} // namespace sonavel
