#include "output/AsioDriverList.h"

#include "output/AsioDriverRegistry.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace sonavel {

AsioDriverList::AsioDriverList(const OutputLocations& locations)
{
    for (auto& registration : EnumerateAsioDriverRegistrations(locations)) {
        std::error_code error;
        if (!std::filesystem::exists(registration.serverPath, error)) {
            continue;
        }
        Node node;
        node.id = static_cast<int32_t>(nodes_.size());
        node.clsid = std::move(registration.clsid);
        const std::string& name =
            registration.description.empty() ? registration.keyName : registration.description;
        std::memcpy(node.name, name.data(), std::min(name.size(), sizeof(node.name) - 1));
        node.module = std::move(registration.module);
        node.device = std::move(registration.device);
        nodes_.push_back(std::move(node));
    }
}

AsioDriverList::~AsioDriverList() = default;

int32_t AsioDriverList::GetName(int32_t id, char* buffer, int32_t size) const
{
    if (buffer == nullptr) {
        return kDriverListNoBuffer;
    }
    if (id < 0 || id >= Count() || size <= 0) {
        return kDriverListNoSuchId;
    }
    const char* name = nodes_[static_cast<size_t>(id)].name;
    const size_t length = std::strlen(name);
    if (length < static_cast<size_t>(size)) {
        std::memcpy(buffer, name, length + 1);
    } else if (size >= 4) {
        const size_t kept = static_cast<size_t>(size) - 4;
        std::memcpy(buffer, name, kept);
        std::memcpy(buffer + kept, "...", 4);
    } else {
        buffer[0] = '\0';
    }
    return 0;
}

IAsioDriver* AsioDriverList::Open(int32_t id)
{
    if (id < 0 || id >= Count()) {
        return nullptr;
    }
    Node& node = nodes_[static_cast<size_t>(id)];
    if (node.driver) {
        return nullptr;
    }
    node.driver = AsioDriverInstance::Create(node.module, node.device);
    if (!node.driver) {
        return nullptr;
    }
    current_ = id;
    return &node.driver->Driver();
}

void AsioDriverList::ReleaseCurrent()
{
    if (current_ >= 0) {
        nodes_[static_cast<size_t>(current_)].driver.reset();
    }
    current_ = -1;
}

IAsioDriver* AsioDriverList::Current() const
{
    if (current_ < 0 || !nodes_[static_cast<size_t>(current_)].driver) {
        return nullptr;
    }
    return &nodes_[static_cast<size_t>(current_)].driver->Driver();
}

} // namespace sonavel
