#include "core/ExtensionTokens.h"

#include <algorithm>

namespace sonavel {

std::vector<std::u16string> ExtensionTokens(std::u16string_view text)
{
    std::vector<std::u16string> tokens;
    size_t at = 0;
    while (at < text.size()) {
        const std::u16string_view separators = tokens.empty() ? u"|, " : u", ";
        const size_t begin = text.find_first_not_of(separators, at);
        if (begin == std::u16string_view::npos) {
            break;
        }
        const size_t end = std::min(text.find_first_of(separators, begin), text.size());
        tokens.emplace_back(text.substr(begin, end - begin));
        at = end + 1;
    }
    return tokens;
}

} // namespace sonavel
