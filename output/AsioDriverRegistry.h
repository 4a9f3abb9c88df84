#pragma once

#include "output/OutputLocations.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// One announced output driver: the class id text, the display name, the server path that must
// exist for the driver to be listed, and the module that creates it with the given device text.
struct AsioDriverRegistration {
    std::string keyName;
    std::string clsid;
    std::string description; // empty: the driver is listed under keyName
    std::filesystem::path serverPath;
    std::filesystem::path module;
    std::string device;
};

// The registration of a *.ini file (keys clsid, description, module, device; a relative module is
// taken from `folder`); nullopt when clsid or module is missing.
std::optional<AsioDriverRegistration> ParseDriverRegistration(
    std::string_view text, std::string_view keyName, const std::filesystem::path& folder);

// Every registration in announcement order: the ALSA cards with a playback PCM (in card order),
// then the registration files of the program's Drivers folder, then those of the user's.
std::vector<AsioDriverRegistration> EnumerateAsioDriverRegistrations(const OutputLocations& locations);

// The module that drives ALSA cards, in the program's Drivers folder.
inline constexpr const char* kAlsaDriverModuleName = "alsa.so";
// A USB card of this vendor is announced under the maker's driver name.
inline constexpr uint32_t kKestraneUsbVendor = 0x0B7E;
inline constexpr const char* kKestraneDriverName = "KESTRANE ASIO USB DRIVER";

} // namespace sonavel
