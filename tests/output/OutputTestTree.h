#pragma once

#include "output/OutputLocations.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <string>

namespace sonavel::test {

// A program folder, configuration folder, /proc/asound, /dev/snd and /sys of a test's own.
class OutputTestTree {
public:
    OutputTestTree();

    const OutputLocations& Locations() const { return locations_; }

    // A registration file in the program's (or the user's) Drivers folder.
    void AddRegistration(const std::string& stem, const std::string& description,
        const std::filesystem::path& module, bool userFolder = false) const;
    // An ALSA card; `usbId` "vvvv:pppp" makes it a USB card, `controlNode` creates /dev/snd/controlCN.
    void AddAlsaCard(int index, const std::string& name, bool playback, const std::string& usbId = {},
        bool controlNode = true);
    void AddUsbDevice(const std::string& node, const std::string& vendor, const std::string& product) const;
    // Puts the fake renderer library in the program folder.
    void InstallFakeRenderer() const;

private:
    TempDir dir_;
    OutputLocations locations_;
    std::string cards_;
};

// The file writer module of the build.
std::filesystem::path FileWriterModule();

void WriteText(const std::filesystem::path& path, const std::string& text);

} // namespace sonavel::test
