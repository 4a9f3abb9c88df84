#pragma once

#include <filesystem>

namespace sonavel {

// The company and product names the configuration folder is named after.
inline constexpr char kConfigCompanyName[] = "KESTRANE Company";
inline constexpr char kConfigProductName[] = "KESTRANE Sonavel";
inline constexpr char kConfigFileName[] = "config.ini";

// $XDG_CONFIG_HOME (an absolute path), else ~/.config, followed by company and product name;
// empty when no home folder is known.
std::filesystem::path ConfigFolderPath();

// Creates the folder with every missing level; true when it exists as a folder afterwards.
bool PrepareConfigFolder(const std::filesystem::path& folder);

} // namespace sonavel
