#pragma once

#include <filesystem>

namespace sonavel {

// The folder that holds the running executable (from /proc/self/exe); empty when unknown.
std::filesystem::path ProgramFolder();

} // namespace sonavel
