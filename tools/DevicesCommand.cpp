#include "tools/DevicesCommand.h"

#include "output/AsioDriverList.h"
#include "output/AsioWrapperImpl.h"
#include "output/DevNameInfo.h"
#include "output/RendererLibrary.h"
#include "platform/Utf.h"

namespace sonavel {

namespace {

// Driver names as loading by name compares them.
constexpr int32_t kLoadableNameSize = 32;

void PrintEveryDevice(const CAsioWrapperImpl& wrapper, std::ostream& out)
{
    const AsioDriverList drivers(wrapper.Locations());
    for (int32_t id = 0; id < drivers.Count(); ++id) {
        char name[kLoadableNameSize];
        if (drivers.GetName(id, name, sizeof(name)) == 0) {
            out << name << '\n';
        }
    }
    for (const auto& record : wrapper.Renderer().EnumerateDevices()) {
        out << "WASAPI: " << Utf16ToUtf8(RecordText(record.name, std::size(record.name))) << '\n';
    }
}

} // namespace

int RunDevicesCommand(
    std::span<const std::string> args, const OutputLocations& locations, std::ostream& out, std::ostream& err)
{
    bool debug = false;
    bool all = false;
    for (const auto& arg : args) {
        if (arg == "--debug") {
            debug = true;
        } else if (arg == "--all") {
            all = true;
        } else {
            err << "sonavel-cli devices: unknown option '" << arg << "'\n";
            return 2;
        }
    }
    const CAsioWrapperImpl wrapper(locations);
    if (all) {
        PrintEveryDevice(wrapper, out);
        return 0;
    }
    CDevNameInfo list;
    GetDeviceList(&list, debug, wrapper);
    for (int32_t index = 0; index < list.Count(); ++index) {
        out << Utf16ToUtf8(list.Name(index)) << '\n';
    }
    return 0;
}

} // namespace sonavel
