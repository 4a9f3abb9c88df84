#include "app/AppConfigDataBackend.h"

#include "app/AppConfigData.h"
#include "app/AppProfile.h"

namespace sonavel {

namespace {

void ExchangeInt(IAppProfile& profile, std::u16string_view section, AppConfigSetting<int32_t>& setting,
                 bool save)
{
    if (save) {
        profile.WriteProfileInt(section, setting.key, setting.value);
    } else {
        setting.value = profile.GetProfileInt(section, setting.key, setting.defaultValue);
    }
}

void ExchangeString(IAppProfile& profile, std::u16string_view section,
                    AppConfigSetting<std::u16string>& setting, bool save)
{
    if (save) {
        profile.WriteProfileString(section, setting.key, setting.value);
    } else {
        setting.value = profile.GetProfileString(section, setting.key, setting.defaultValue);
    }
}

std::u16string_view BoolText(bool value)
{
    return value ? u"true" : u"false";
}

// Only the exact lower-case "true" is true, as the program has always read it.
void ExchangeBool(IAppProfile& profile, std::u16string_view section, AppConfigSetting<bool>& setting,
                  bool save)
{
    if (save) {
        profile.WriteProfileString(section, setting.key, BoolText(setting.value));
    } else {
        setting.value =
            profile.GetProfileString(section, setting.key, BoolText(setting.defaultValue)) == u"true";
    }
}

} // namespace

void CAppConfigDataAppProfileBackend::Save(CAppConfigData& config)
{
    ExchangeProfile(config, true);
}

void CAppConfigDataAppProfileBackend::Load(CAppConfigData& config)
{
    ExchangeProfile(config, false);
}

void CAppConfigDataAppProfileBackend::ExchangeProfile(CAppConfigData& config, bool save)
{
    if (profile_ == nullptr) {
        return;
    }
    IAppProfile& profile = *profile_;
    ExchangeInt(profile, kConfigSectionWindow, config.x, save);
    ExchangeInt(profile, kConfigSectionWindow, config.y, save);
    ExchangeString(profile, kConfigSectionConfig, config.device, save);
    ExchangeBool(profile, kConfigSectionConfig, config.mp3Gapless, save);
    ExchangeInt(profile, kConfigSectionConfig, config.thrGapless, save);
    ExchangeInt(profile, kConfigSectionConfig, config.decodeMode, save);
    ExchangeInt(profile, kConfigSectionConfig, config.ramMode, save);
    ExchangeInt(profile, kConfigSectionConfig, config.repeatMode, save);
    ExchangeInt(profile, kConfigSectionConfig, config.shuffleMode, save);
    ExchangeString(profile, kConfigSectionPlaylist, config.playlistFile, save);
}

} // namespace sonavel
