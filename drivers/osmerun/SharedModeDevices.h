#pragma once

#include <string>
#include <vector>

namespace sonavel {

// A device the renderer library plays to: an ALSA PCM that feeds the sound server.
struct SharedModeDevice {
    std::string pcm; // the ALSA PCM name it opens
    std::u16string name; // shown to the user (after "WASAPI: ")
    std::u16string instancePath;
};

// The sound-server PCMs ALSA knows of ("default", "pipewire", "pulse") and one device per USB card,
// or the comma-separated PCM names of $SONAVEL_OSMERUN_PCMS instead, so tests can render to ALSA's
// own devices.
std::vector<SharedModeDevice> EnumerateSharedModeDevices();

} // namespace sonavel
