#include "app/ConfigStartup.h"

#include "app/AppConfigDataIniFileBackend.h"
#include "app/ConfigLocation.h"

#include <algorithm>

namespace sonavel {

std::shared_ptr<CAppConfigData> LoadStartupConfig(const std::filesystem::path& folder)
{
    auto config = std::make_shared<CAppConfigData>();
    if (!folder.empty() && PrepareConfigFolder(folder)) {
        config->SetBackend(std::make_shared<CAppConfigDataIniBackend>(folder / kConfigFileName));
    }
    config->ResetToDefaults();
    config->Load();
    config->mp3Gapless.Reset();
    config->thrGapless.Reset();
    return config;
}

std::shared_ptr<CAppConfigData> LoadStartupConfig()
{
    return LoadStartupConfig(ConfigFolderPath());
}

bool ChooseDefaultDevice(CAppConfigData& config, const std::vector<std::u16string>& deviceNames)
{
    if (!config.device.value.empty() || deviceNames.empty()) {
        return false;
    }
    config.device.value = *std::min_element(deviceNames.begin(), deviceNames.end());
    config.Save();
    return true;
}

} // namespace sonavel
