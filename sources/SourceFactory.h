#pragma once

#include "sources/MusicData.h"

#include <memory>
#include <string_view>

namespace sonavel {

// The one place that maps a file's extension, or an entry's stored source type, to its source.
// Null where no source exists for it yet.
std::unique_ptr<CMusicData> CreateSourceForPath(std::u16string_view path);
std::unique_ptr<CMusicData> CreateSourceOfType(int32_t sourceType);

// The extension of a path from its last dot, in lower case ("wav"); empty when it has none.
std::u16string ExtensionOf(std::u16string_view path);

} // namespace sonavel
