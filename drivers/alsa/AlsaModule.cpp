#include "drivers/alsa/AlsaDriver.h"
#include "output/AsioDriverModule.h"

#include <cstdlib>
#include <string>

// The registration's device is the card ("hw:N"); SONAVEL_ALSA_PCM names another PCM instead, so
// the driver can be run against ALSA's own test devices.
extern "C" __attribute__((visibility("default"))) sonavel::IAsioDriver* SonavelCreateAsioDriver(
    const char* device)
{
    const char* override = std::getenv("SONAVEL_ALSA_PCM");
    std::string name =
        override != nullptr && *override != '\0' ? override : (device != nullptr ? device : "");
    if (name.empty()) {
        return nullptr;
    }
    return new sonavel::AlsaDriver(std::move(name));
}
