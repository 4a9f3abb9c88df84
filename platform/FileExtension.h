#pragma once

#include <string>
#include <string_view>

namespace sonavel {

// The extension of a path from its last dot, in lower case ("wav"); empty when it has none.
std::u16string ExtensionOf(std::u16string_view path);

// The last component of a path, the name with its extension.
std::u16string FileNameOf(std::u16string_view path);

// Equality with ASCII letters compared without case, as extensions and plug-in names are.
bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

} // namespace sonavel
