#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sonavel {

// A configuration file is small; anything larger is not one and is read as absent.
inline constexpr size_t kMaxConfigFileBytes = 4 * 1024 * 1024;

// The whole file, or nothing when it is missing, unreadable, not a regular file or too large.
std::optional<std::string> ReadConfigText(const std::filesystem::path& path,
                                          size_t maxBytes = kMaxConfigFileBytes);

// The temporary file a replacement is written to before it takes the file's place.
std::filesystem::path AtomicTempPath(const std::filesystem::path& path);

// Writes text to the temporary file, flushes it to the disk and renames it over path, so that
// path holds either its old or its new content whatever happens meanwhile. A temporary file left
// behind by an earlier crash is replaced. False when anything failed; path is then unchanged.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text);

} // namespace sonavel
