#include "output/UsbDevices.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <regex>
#include <system_error>

namespace sonavel {

namespace {

constexpr const char* kUsbDeviceInterfaceClass = "{a5dcbf10-6530-11d2-901f-00c04fb951ed}";

// The first line of a small sysfs attribute; empty when it cannot be read.
std::string ReadAttribute(const std::filesystem::path& path)
{
    std::ifstream in(path);
    std::string line;
    if (in) {
        std::getline(in, line);
    }
    if (line.size() > 256) {
        line.clear();
    }
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) {
        line.pop_back();
    }
    return line;
}

std::optional<uint32_t> ReadHexId(const std::filesystem::path& path)
{
    const std::string text = ReadAttribute(path);
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return value;
}

// Windows puts the serial number in the path, or a port-based instance id when there is none.
std::string InstanceText(const std::filesystem::path& device)
{
    std::string text = ReadAttribute(device / "serial");
    if (text.empty()) {
        text = device.filename().string();
    }
    std::replace(text.begin(), text.end(), '#', '_');
    return text;
}

} // namespace

std::vector<std::string> PresentUsbDevicePaths(const std::filesystem::path& sysfsRoot)
{
    std::vector<std::filesystem::path> devices;
    std::error_code error;
    for (std::filesystem::directory_iterator it(sysfsRoot / "bus" / "usb" / "devices", error), end;
         !error && it != end; it.increment(error)) {
        devices.push_back(it->path());
    }
    std::sort(devices.begin(), devices.end());
    std::vector<std::string> paths;
    for (const auto& device : devices) {
        const auto vendor = ReadHexId(device / "idVendor");
        const auto product = ReadHexId(device / "idProduct");
        if (!vendor || !product) {
            continue;
        }
        char ids[32];
        std::snprintf(ids, sizeof(ids), "vid_%04x&pid_%04x", *vendor, *product);
        paths.push_back(
            std::string("\\\\?\\usb#") + ids + "#" + InstanceText(device) + "#" + kUsbDeviceInterfaceClass);
    }
    return paths;
}

std::optional<UsbIds> ParseUsbIds(std::string_view path)
{
    static const std::regex pattern("^.*VID_([0-9a-f]{4})&PID_([0-9a-f]{4}).*$", std::regex::icase);
    std::match_results<std::string_view::const_iterator> match;
    if (!std::regex_match(path.begin(), path.end(), match, pattern)) {
        return std::nullopt;
    }
    const auto hex = [](const auto& group) {
        int32_t value = 0;
        std::from_chars(&*group.first, &*group.first + group.length(), value, 16);
        return value;
    };
    return UsbIds{hex(match[1]), hex(match[2])};
}

} // namespace sonavel
