#include "drivers/osmerun/SharedModeDevices.h"

#include "drivers/osmerun/UsbCardDevices.h"
#include "platform/Utf.h"

#include <alsa/asoundlib.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace sonavel {

namespace {

constexpr std::array<std::string_view, 3> kServerPcms = {"default", "pipewire", "pulse"};
// Longer names are not taken by the device list.
constexpr size_t kMaxNameLength = 127;

SharedModeDevice MakeDevice(std::string pcm, std::string description)
{
    if (description.empty()) {
        description = pcm;
    }
    if (const auto newline = description.find('\n'); newline != std::string::npos) {
        description.resize(newline);
    }
    std::u16string name = Utf8ToUtf16(description);
    if (name.size() > kMaxNameLength) {
        name.resize(kMaxNameLength);
    }
    // A server endpoint is a software device, not one piece of hardware.
    std::u16string instancePath = u"SWD\\MMDEVAPI\\" + Utf8ToUtf16(pcm);
    return {std::move(pcm), std::move(name), std::move(instancePath)};
}

std::vector<SharedModeDevice> DevicesFromList(std::string_view list)
{
    std::vector<SharedModeDevice> devices;
    while (!list.empty()) {
        const auto comma = list.find(',');
        const std::string_view pcm = list.substr(0, comma);
        if (!pcm.empty()) {
            devices.push_back(MakeDevice(std::string(pcm), {}));
        }
        list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
    }
    return devices;
}

struct HintsDeleter {
    void operator()(void** hints) const { snd_device_name_free_hint(hints); }
};

std::string TakeHint(void* hint, const char* id)
{
    char* value = snd_device_name_get_hint(hint, id);
    std::string text = value != nullptr ? value : "";
    std::free(value);
    return text;
}

} // namespace

std::vector<SharedModeDevice> EnumerateSharedModeDevices()
{
    if (const char* list = std::getenv("SONAVEL_OSMERUN_PCMS"); list != nullptr && *list != '\0') {
        return DevicesFromList(list);
    }
    std::vector<SharedModeDevice> devices;
    void** raw = nullptr;
    if (snd_device_name_hint(-1, "pcm", &raw) < 0 || raw == nullptr) {
        return devices;
    }
    const std::unique_ptr<void*, HintsDeleter> hints(raw);
    for (const auto server : kServerPcms) {
        for (void** hint = raw; *hint != nullptr; ++hint) {
            const std::string io = TakeHint(*hint, "IOID");
            if (TakeHint(*hint, "NAME") == server && (io.empty() || io == "Output")) {
                devices.push_back(MakeDevice(std::string(server), TakeHint(*hint, "DESC")));
                break;
            }
        }
    }
    for (auto& card : EnumerateUsbCardDevices("/sys")) {
        devices.push_back(std::move(card));
    }
    return devices;
}

} // namespace sonavel
