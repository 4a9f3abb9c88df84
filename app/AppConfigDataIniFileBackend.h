#pragma once

#include "app/AppConfigDataBackend.h"
#include "app/IniFile.h"
#include "app/IniProfile.h"

#include <filesystem>
#include <utility>

namespace sonavel {

// The document of an INI file; an empty one when the file is missing or unreadable.
IniFile ReadIniDocument(const std::filesystem::path& path);
// Replaces the file with the document atomically; false when that failed (the file is unchanged).
bool WriteIniDocument(const std::filesystem::path& path, const IniFile& document);

// A profile backend whose profile is one INI file. Each exchange reads the file into a profile,
// lets Base exchange the settings with it and, when saving, writes the file back as a whole, so a
// save replaces all ten keys at once and keeps everything else the file holds.
template <class Base> class CAppConfigDataIniFileBackend : public Base {
  public:
    explicit CAppConfigDataIniFileBackend(std::filesystem::path path)
        : path_(std::move(path))
    {
    }

    void Save(CAppConfigData& config) override { Exchange(config, true); }
    void Load(CAppConfigData& config) override { Exchange(config, false); }

    // False when a save could not be written.
    bool Exchange(CAppConfigData& config, bool save)
    {
        CIniProfile profile(ReadIniDocument(path_));
        {
            ProfileInUse inUse(this->profile_, profile);
            if (save) {
                Base::Save(config);
            } else {
                Base::Load(config);
            }
        }
        return !save || WriteIniDocument(path_, profile.Document());
    }

    const std::filesystem::path& Path() const { return path_; }

  private:
    // Points the backend at the profile for one exchange and back at none afterwards, also when
    // the exchange throws.
    class ProfileInUse {
      public:
        ProfileInUse(IAppProfile*& slot, IAppProfile& profile)
            : slot_(slot)
        {
            slot_ = &profile;
        }
        ProfileInUse(const ProfileInUse&) = delete;
        ProfileInUse& operator=(const ProfileInUse&) = delete;
        ~ProfileInUse() { slot_ = nullptr; }

      private:
        IAppProfile*& slot_;
    };

    std::filesystem::path path_;
};

using CAppConfigDataIniBackend = CAppConfigDataIniFileBackend<CAppConfigDataAppProfileBackend>;

} // namespace sonavel
