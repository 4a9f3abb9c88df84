#pragma once

#include "output/AsioDriver.h"

#include <filesystem>
#include <memory>
#include <string>

namespace sonavel {

// A driver object created by its module; the module stays loaded for as long as the object lives.
class AsioDriverInstance {
public:
    // Null when the module cannot be loaded, lacks the factory or the factory refuses.
    static std::unique_ptr<AsioDriverInstance> Create(
        const std::filesystem::path& module, const std::string& device);

    AsioDriverInstance(const AsioDriverInstance&) = delete;
    AsioDriverInstance& operator=(const AsioDriverInstance&) = delete;
    ~AsioDriverInstance();

    IAsioDriver& Driver() { return *driver_; }

private:
    AsioDriverInstance(void* handle, std::unique_ptr<IAsioDriver> driver);

    void* handle_;
    std::unique_ptr<IAsioDriver> driver_;
};

} // namespace sonavel
