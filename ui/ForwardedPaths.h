#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// The file arguments a second start of the program hands to the running one, joined with '|'.
std::u16string JoinForwardedPaths(const std::vector<std::u16string>& paths);

// The paths of such a text: empty pieces between two bars are skipped, the piece after the last
// bar is always taken, even when empty.
std::vector<std::u16string> SplitForwardedPaths(std::u16string_view text);

} // namespace sonavel
