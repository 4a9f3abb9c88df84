#include "ui/ForwardedPaths.h"

namespace sonavel {

std::u16string JoinForwardedPaths(const std::vector<std::u16string>& paths)
{
    std::u16string text;
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i > 0) {
            text += u'|';
        }
        text += paths[i];
    }
    return text;
}

std::vector<std::u16string> SplitForwardedPaths(std::u16string_view text)
{
    std::vector<std::u16string> paths;
    size_t start = 0;
    for (size_t bar = text.find(u'|'); bar != std::u16string_view::npos; bar = text.find(u'|', start)) {
        if (bar > start) {
            paths.emplace_back(text.substr(start, bar - start));
        }
        start = bar + 1;
    }
    paths.emplace_back(text.substr(start));
    return paths;
}

} // namespace sonavel
