#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sonavel {

// Unicode normalisation form C; nullopt when the text cannot be normalised.
std::optional<std::u16string> NormalizeNfc(std::u16string_view text);

} // namespace sonavel
