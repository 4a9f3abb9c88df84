// Feeds arbitrary text to the parsers of driver registrations: registration files and the USB
// ids of device paths.
#include "output/AsioDriverRegistry.h"
#include "output/UsbDevices.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    sonavel::ParseDriverRegistration(text, "fuzz", "/nonexistent");
    // Device paths are short; the parser is only ever given one.
    if (size <= 512) {
        sonavel::ParseUsbIds(text);
    }
    return 0;
}
