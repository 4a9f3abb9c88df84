#pragma once

#include "drivers/osmerun/SharedModeDevices.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sonavel {

// The instance path of ALSA card `card` when it is a USB device ("USB\VID_xxxx&PID_xxxx\cardN",
// shaped like Windows' own so the device profiles apply), read from sysfs: the card's device is a
// USB interface whose parent holds idVendor and idProduct. Empty for other cards.
std::u16string UsbCardInstancePath(const std::filesystem::path& sysfsRoot, int card);

// One shared-mode device per USB card, played through the card's default PCM (the sound server's
// route to that card where one runs).
std::vector<SharedModeDevice> EnumerateUsbCardDevices(const std::filesystem::path& sysfsRoot);

} // namespace sonavel
