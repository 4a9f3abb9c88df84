#pragma once

#include "app/AppConfigDataBase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace sonavel {

inline constexpr std::u16string_view kConfigSectionWindow = u"Window";
inline constexpr std::u16string_view kConfigSectionConfig = u"Config";
inline constexpr std::u16string_view kConfigSectionPlaylist = u"Playlist";

// One setting: its key name, the current value and the value it has when nothing was stored.
template <typename T> struct AppConfigSetting {
    std::u16string_view key;
    T value;
    T defaultValue;

    void Reset() { value = defaultValue; }
};

// All persistent settings of the player. Callers change the values directly and call Save when a
// change shall reach the file.
class CAppConfigData : public CAppConfigDataBase {
  public:
    CAppConfigData() = default;
    ~CAppConfigData() override = default;

    virtual void ResetToDefaults();
    // Both do nothing without a backend.
    virtual void Save();
    virtual void Load();
    virtual void SetBackend(std::shared_ptr<CAppConfigDataBackendBase> backend);

    // Section "Window": the main window's left and top edge in screen coordinates.
    AppConfigSetting<int32_t> x{u"X", 0, 0};
    AppConfigSetting<int32_t> y{u"Y", 0, 0};
    // Section "Config".
    // The output device's name as the device list shows it; empty when none is chosen.
    AppConfigSetting<std::u16string> device{u"Device", u"", u""};
    // MP3 gapless trimming by silence threshold, stored as "true" or "false".
    AppConfigSetting<bool> mp3Gapless{u"Mp3Gapless", true, true};
    // The silence threshold of that trimming, in dB.
    AppConfigSetting<int32_t> thrGapless{u"ThrGapless", -45, -45};
    // 0 DSD over PCM, 1 DSD native.
    AppConfigSetting<int32_t> decodeMode{u"DecodeMode", 0, 0};
    // 0 streaming, 1 expand to RAM.
    AppConfigSetting<int32_t> ramMode{u"RamMode", 0, 0};
    // Last chosen repeat mode and shuffle state; kept, not applied at start-up.
    AppConfigSetting<int32_t> repeatMode{u"RepeatMode", 0, 0};
    AppConfigSetting<int32_t> shuffleMode{u"ShuffleMode", 0, 0};
    // Section "Playlist": the last playlist file loaded or saved.
    AppConfigSetting<std::u16string> playlistFile{u"File", u"", u""};
};

} // namespace sonavel
