#include "ui/CoreDeviceProbe.h"

#include "core/PlayerCore.h"
#include "output/DevNameInfo.h"

namespace sonavel {

std::vector<ProbedDevice> CCoreDeviceProbe::ProbeDevices()
{
    std::vector<ProbedDevice> usable;
    if (!Core().ready) {
        return usable;
    }
    CoreReleaseOutputDriver();
    std::unique_ptr<CDevNameInfo> devices;
    if (CoreCreateDeviceList(&devices) != kCoreOk || !devices) {
        return usable;
    }
    for (int32_t i = 0; i < devices->Count(); ++i) {
        const DeviceRecord* record = devices->Record(i);
        if (record != nullptr && CoreTestDevice(record->name)) {
            usable.push_back(ProbedDevice{record->name, record->flags});
        }
    }
    return usable;
}

} // namespace sonavel
