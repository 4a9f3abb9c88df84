#pragma once

#include "output/AsioDriverInstance.h"
#include "output/OutputLocations.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sonavel {

inline constexpr int32_t kDriverListNoBuffer = -5001;
inline constexpr int32_t kDriverListNoSuchId = -5003;

// The registered output drivers whose server path exists, in announcement order; ids are list
// positions. At most one driver of the list is open at a time (the current one).
class AsioDriverList {
public:
    explicit AsioDriverList(const OutputLocations& locations);
    AsioDriverList(const AsioDriverList&) = delete;
    AsioDriverList& operator=(const AsioDriverList&) = delete;
    ~AsioDriverList();

    int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }
    // The name, whole when shorter than size, else its first size − 4 bytes followed by "...".
    int32_t GetName(int32_t id, char* buffer, int32_t size) const;
    // Creates the driver of id and makes it the current one; null when the node already holds a
    // driver or the creation fails.
    IAsioDriver* Open(int32_t id);
    void ReleaseCurrent();
    IAsioDriver* Current() const;
    int32_t CurrentIndex() const { return current_; }

private:
    struct Node {
        int32_t id = 0;
        std::string clsid;
        char name[128] = {};
        std::filesystem::path module;
        std::string device;
        std::unique_ptr<AsioDriverInstance> driver;
    };

    std::vector<Node> nodes_;
    int32_t current_ = -1;
};

} // namespace sonavel
