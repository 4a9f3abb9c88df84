#pragma once

#include <filesystem>

namespace sonavel {

// The next number of the file sequence written to `out` in this process: 1 for the first file,
// then 2, 3 ... The count lives in the module, not in a driver instance, because the host opens a
// new instance for every start of the output and a later start must not overwrite an earlier file.
int NextFileNumber(const std::filesystem::path& out);

} // namespace sonavel
