#pragma once

#include "output/AsioDriver.h"

// A driver module is an ELF shared object that exports one factory with C linkage. `device` is the
// registration's device text (e.g. "hw:1" for an ALSA card, empty for drivers that need none).
// The returned object belongs to the caller, who destroys it before unloading the module;
// null means the driver cannot be created.
extern "C" {
using SonavelCreateAsioDriverFn = sonavel::IAsioDriver* (*)(const char* device);
sonavel::IAsioDriver* SonavelCreateAsioDriver(const char* device);
}

namespace sonavel {
inline constexpr const char* kAsioDriverFactoryName = "SonavelCreateAsioDriver";
}
