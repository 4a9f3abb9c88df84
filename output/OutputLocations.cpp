#include "output/OutputLocations.h"

#include "platform/ProgramFolder.h"

#include <cstdlib>

namespace sonavel {

namespace {

std::filesystem::path ConfigHome()
{
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        return xdg;
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return std::filesystem::path(home) / ".config";
    }
    return {};
}

} // namespace

OutputLocations OutputLocations::System()
{
    OutputLocations locations;
    locations.programFolder = ProgramFolder();
    const auto configHome = ConfigHome();
    if (!configHome.empty()) {
        locations.configFolder = configHome / "KESTRANE Company" / "KESTRANE Sonavel";
    }
    locations.procAsound = "/proc/asound";
    locations.devSnd = "/dev/snd";
    locations.sysfsRoot = "/sys";
    return locations;
}

} // namespace sonavel
