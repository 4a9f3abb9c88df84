// Feeds arbitrary text to the INI reader as config.ini content: every setting is read through the
// profile rules, then all of them are written back and must read back as written.
#include "app/AppConfigDataBackend.h"
#include "app/AppConfigData.h"
#include "app/IniFile.h"
#include "app/IniProfile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// Runs the exchange of the profile backend against one profile.
class FuzzBackend : public sonavel::CAppConfigDataAppProfileBackend {
  public:
    void Exchange(sonavel::IAppProfile& profile, sonavel::CAppConfigData& config, bool save)
    {
        profile_ = &profile;
        save ? Save(config) : Load(config);
        profile_ = nullptr;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sonavel::CIniProfile profile(sonavel::IniFile::Parse(text));
    sonavel::CAppConfigData config;
    FuzzBackend backend;
    backend.Exchange(profile, config, false);

    config.device.value = u"Fuzz device";
    config.thrGapless.value = -45;
    backend.Exchange(profile, config, true);

    sonavel::CIniProfile reread(sonavel::IniFile::Parse(profile.Document().ToText()));
    sonavel::CAppConfigData check;
    backend.Exchange(reread, check, false);
    if (check.device.value != u"Fuzz device" || check.thrGapless.value != -45 ||
        check.x.value != config.x.value ||
        check.playlistFile.value.size() > config.playlistFile.value.size()) {
        std::abort();
    }
    return 0;
}
