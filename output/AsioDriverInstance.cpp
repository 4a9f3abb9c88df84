#include "output/AsioDriverInstance.h"

#include "output/AsioDriverModule.h"

#include <dlfcn.h>

namespace sonavel {

std::unique_ptr<AsioDriverInstance> AsioDriverInstance::Create(
    const std::filesystem::path& module, const std::string& device)
{
    // A module stays mapped after its last instance: driver modules keep process-wide state (the
    // file writer's file sequence, a card's session) that must survive the host reopening them.
    void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        return nullptr;
    }
    const auto factory = reinterpret_cast<SonavelCreateAsioDriverFn>(dlsym(handle, kAsioDriverFactoryName));
    std::unique_ptr<IAsioDriver> driver(factory != nullptr ? factory(device.c_str()) : nullptr);
    if (!driver) {
        dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<AsioDriverInstance>(new AsioDriverInstance(handle, std::move(driver)));
}

AsioDriverInstance::AsioDriverInstance(void* handle, std::unique_ptr<IAsioDriver> driver)
    : handle_(handle), driver_(std::move(driver))
{
}

AsioDriverInstance::~AsioDriverInstance()
{
    driver_.reset();
    dlclose(handle_);
}

} // namespace sonavel
