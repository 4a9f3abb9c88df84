#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sonavel {

// The device interface paths of the connected USB devices, shaped like Windows' own
// ("\\?\usb#vid_0b7e&pid_4a31#<serial or port>#{a5dcbf10-6530-11d2-901f-00c04fb951ed}"), read from
// <sysfsRoot>/bus/usb/devices/*/idVendor and idProduct. Interfaces and hubs without ids are skipped.
std::vector<std::string> PresentUsbDevicePaths(const std::filesystem::path& sysfsRoot);

struct UsbIds {
    int32_t vendor;
    int32_t product;
};

// The vendor and product id of a path containing "VID_xxxx&PID_xxxx" (any case).
std::optional<UsbIds> ParseUsbIds(std::string_view path);

} // namespace sonavel
