#pragma once

#include "plugin-api/PlayerPluginIF.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicTypes.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace sonavel::test {

// The decoder plug-ins of the program folder, loaded by the player's own loader, and the two ways
// the player uses them: straight through an instance, and through the plug-in music source that
// feeds the engine.
class HostedPlugins {
public:
    HostedPlugins();

    using Instance = std::unique_ptr<CPlayerPluginIF, std::function<void(CPlayerPluginIF*)>>;
    // The instance the loader hands out for the file, with OpenFile's result; null when no
    // plug-in takes the extension.
    Instance Open(const std::filesystem::path& file, int32_t* result);

    // What the music source makes of a whole file: its result, track and every delivered byte.
    struct Delivery {
        int32_t result = -1;
        MusicTrackInfo info;
        std::vector<uint8_t> bytes;
    };
    Delivery ReadThroughSource(const std::filesystem::path& file);

    const std::shared_ptr<CPluginCtrl>& Registry() const { return registry_; }

private:
    std::shared_ptr<CPluginCtrl> registry_;
};

// The frames first to last (inclusive) as a plug-in delivers them; empty when a call fails.
std::vector<uint8_t> ReadRange(CPlayerPluginIF& plugin, uint64_t first, uint64_t last);

std::u16string WidePath(const std::filesystem::path& file);

} // namespace sonavel::test
