#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sonavel {

// The application's profile functions: integer and string values under a section and a key, with
// the reading rules of Windows profiles (a missing value gives the caller's fallback).
class IAppProfile {
  public:
    virtual ~IAppProfile() = default;
    virtual int32_t GetProfileInt(std::u16string_view section, std::u16string_view key,
                                  int32_t fallback) const = 0;
    virtual std::u16string GetProfileString(std::u16string_view section, std::u16string_view key,
                                            std::u16string_view fallback) const = 0;
    virtual void WriteProfileInt(std::u16string_view section, std::u16string_view key, int32_t value) = 0;
    virtual void WriteProfileString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view value) = 0;
};

} // namespace sonavel
