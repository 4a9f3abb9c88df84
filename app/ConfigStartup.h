#pragma once

#include "app/AppConfigData.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace sonavel {

// The configuration as the program starts with it: the INI backend in `folder` when that folder
// can be created (otherwise no backend and nothing is ever saved), every setting reset, the file
// loaded, and MP3 gapless trimming with its threshold forced back to their defaults, which the
// configuration dialog does not offer.
std::shared_ptr<CAppConfigData> LoadStartupConfig(const std::filesystem::path& folder);

// The same in the user's configuration folder.
std::shared_ptr<CAppConfigData> LoadStartupConfig();

// With no device chosen yet: the first of the device names in ordinal order becomes the device
// and the configuration is saved. True when a device was chosen.
bool ChooseDefaultDevice(CAppConfigData& config, const std::vector<std::u16string>& deviceNames);

} // namespace sonavel
