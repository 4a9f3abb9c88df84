#include "core/PlayerCore.h"

#include "output/AsioWrapperImpl.h"
#include "output/DevNameInfo.h"
#include "output/OutputLocations.h"
#include "plugin-host/PluginCtrl.h"

#include <functional>

namespace sonavel {

namespace {

// Loads and initialises the named device on a wrapper of its own, so that a check never disturbs
// the device the playback thread has open, runs `use` and releases the device again.
bool WithDevice(const std::u16string& name, const std::function<bool(CAsioWrapperImpl&)>& use)
{
    if (name.empty()) {
        return false;
    }
    CAsioWrapperImpl wrapper(Core().outputDriver ? Core().outputDriver->Locations() : OutputLocations::System());
    ASIODriverInfo info{};
    const bool used = wrapper.LoadDriver(name) && wrapper.Init(&info) == ASE_OK && use(wrapper);
    wrapper.Exit();
    return used;
}

} // namespace

int32_t CoreCreateDeviceList(std::unique_ptr<CDevNameInfo>* out)
{
    if (out == nullptr) {
        return kCoreNullArgument;
    }
    PlayerCore& core = Core();
    if (!core.outputDriver) {
        return kCoreRefused;
    }
    auto list = std::make_unique<CDevNameInfo>();
    const int32_t result = GetDeviceList(list.get(), core.debugMode, *core.outputDriver);
    if (result != kCoreOk) {
        return result;
    }
    *out = std::move(list);
    return kCoreOk;
}

int32_t CoreCreatePluginList(std::vector<PluginListItem>* out)
{
    if (out == nullptr) {
        return kCoreNullArgument;
    }
    PlayerCore& core = Core();
    if (!core.plugins) {
        return kCoreRefused;
    }
    core.plugins->Load();
    out->clear();
    for (const PluginRecord& record : core.plugins->Records()) {
        out->push_back({record.name, record.extensions, record.version});
    }
    return kCoreOk;
}

bool CoreTestDevice(const std::u16string& name)
{
    return WithDevice(name, [](CAsioWrapperImpl& wrapper) {
        AsioLong inputs = 0;
        AsioLong outputs = 0;
        return wrapper.GetChannels(&inputs, &outputs) == ASE_OK && outputs > 0;
    });
}

bool CoreOpenControlPanel(const std::u16string& name)
{
    return WithDevice(name, [](CAsioWrapperImpl& wrapper) { return wrapper.ControlPanel() == ASE_OK; });
}

void CoreReleaseOutputDriver()
{
    PlayerCore& core = Core();
    if (core.ready && core.outputDriver && core.playState == 0) {
        core.outputDriver->Exit();
    }
}

} // namespace sonavel
