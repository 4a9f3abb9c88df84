#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// The tokens of a plug-in's extension text, as the playable extensions and the open-file filter
// take them: separators are skipped; the first token ends at '|', ',' or ' ', every later token
// only at ',' or ' ', so a '|' after the first token stays inside a token.
std::vector<std::u16string> ExtensionTokens(std::u16string_view text);

} // namespace sonavel
