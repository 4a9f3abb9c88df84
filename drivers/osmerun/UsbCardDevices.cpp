#include "drivers/osmerun/UsbCardDevices.h"

#include "platform/Utf.h"

#include <alsa/asoundlib.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace sonavel {

namespace {

// A four-digit hexadecimal id file of sysfs; -1 when it is missing or not one.
int ReadHexId(const std::filesystem::path& file)
{
    std::ifstream in(file);
    std::string text;
    if (!(in >> text) || text.size() != 4) {
        return -1;
    }
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 16);
    return end != nullptr && *end == '\0' ? static_cast<int>(value) : -1;
}

} // namespace

std::u16string UsbCardInstancePath(const std::filesystem::path& sysfsRoot, int card)
{
    std::error_code error;
    const auto device = std::filesystem::canonical(sysfsRoot / "class" / "sound" / ("card" + std::to_string(card)) / "device", error);
    if (error) {
        return {};
    }
    const auto usbDevice = device.parent_path();
    const int vendor = ReadHexId(usbDevice / "idVendor");
    const int product = ReadHexId(usbDevice / "idProduct");
    if (vendor < 0 || product < 0) {
        return {};
    }
    char path[64];
    std::snprintf(path, sizeof path, "USB\\VID_%04X&PID_%04X\\card%d", vendor, product, card);
    return Utf8ToUtf16(path);
}

std::vector<SharedModeDevice> EnumerateUsbCardDevices(const std::filesystem::path& sysfsRoot)
{
    std::vector<SharedModeDevice> devices;
    for (int card = -1; snd_card_next(&card) == 0 && card >= 0;) {
        std::u16string instancePath = UsbCardInstancePath(sysfsRoot, card);
        if (instancePath.empty()) {
            continue;
        }
        char* name = nullptr;
        std::string description = snd_card_get_name(card, &name) == 0 && name != nullptr ? name : "USB card";
        std::free(name);
        devices.push_back({"default:CARD=" + std::to_string(card), Utf8ToUtf16(description), std::move(instancePath)});
    }
    return devices;
}

} // namespace sonavel
