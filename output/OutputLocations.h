#pragma once

#include <filesystem>

namespace sonavel {

// Where the output layer looks for drivers and hardware. Tests point these at folders of their own.
struct OutputLocations {
    std::filesystem::path programFolder; // Drivers/ and osmerun.so
    std::filesystem::path configFolder; // its Drivers/ holds the user's registrations
    std::filesystem::path procAsound; // /proc/asound
    std::filesystem::path devSnd; // /dev/snd
    std::filesystem::path sysfsRoot; // /sys

    // The running system: the executable's folder, the configuration folder under
    // $XDG_CONFIG_HOME (default ~/.config), and the kernel's own trees.
    static OutputLocations System();
};

} // namespace sonavel
