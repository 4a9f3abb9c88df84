#pragma once

#include "app/AppProfile.h"
#include "app/IniFile.h"

#include <cstdint>
#include <string_view>

namespace sonavel {

// The profile functions over one INI document.
class CIniProfile : public IAppProfile {
  public:
    explicit CIniProfile(IniFile document);

    // An empty value gives the fallback; otherwise the profile-integer reading of the text.
    int32_t GetProfileInt(std::u16string_view section, std::u16string_view key,
                          int32_t fallback) const override;
    // The value with one pair of enclosing quotes (" or ') removed; an absent key gives the fallback.
    std::u16string GetProfileString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view fallback) const override;
    void WriteProfileInt(std::u16string_view section, std::u16string_view key, int32_t value) override;
    void WriteProfileString(std::u16string_view section, std::u16string_view key,
                            std::u16string_view value) override;

    const IniFile& Document() const { return document_; }

  private:
    IniFile document_;
};

// How Windows reads a profile integer: leading white space, an optional sign, then decimal digits
// up to the first other character; no digits give 0. Digits beyond 32 bits wrap around.
int32_t ParseProfileInt(std::u16string_view text);

} // namespace sonavel
