#include "tests/plugins/HostedPlugins.h"

#include "platform/Utf.h"
#include "sources/MusicDataPlugin.h"
#include "sources/MusicResult.h"
#include "tests/support/RunProgram.h"

namespace sonavel::test {

std::u16string WidePath(const std::filesystem::path& file)
{
    return Utf8ToUtf16(file.string());
}

HostedPlugins::HostedPlugins() : registry_(std::make_shared<CPluginCtrl>())
{
    registry_->LoadFolder(ProgramDir() / "Plugin");
}

HostedPlugins::Instance HostedPlugins::Open(const std::filesystem::path& file, int32_t* result)
{
    const std::u16string path = WidePath(file);
    auto registry = registry_;
    Instance plugin(registry_->InstanceForFile(path), [registry](CPlayerPluginIF* p) { registry->ReleaseForSource(p); });
    *result = plugin ? plugin->OpenFile(path.c_str()) : PPI_FAIL;
    return plugin;
}

HostedPlugins::Delivery HostedPlugins::ReadThroughSource(const std::filesystem::path& file)
{
    Delivery delivery;
    CMusicDataPlugin source(registry_, WidePath(file));
    MusicOpenParams params;
    params.path = WidePath(file);
    delivery.result = source.Open(&params);
    if (delivery.result != kResultOk) {
        return delivery;
    }
    source.GetTrackInfo(0, &delivery.info);
    source.SetRange(0, delivery.info.endFrame, 0);
    for (;;) {
        void* block = nullptr;
        uint32_t bytes = 0;
        const int32_t result = source.ReadNext(&block, &bytes);
        if (result != kResultOk) {
            delivery.result = result == kResultEndOfRange ? kResultOk : result;
            return delivery;
        }
        const auto* p = static_cast<const uint8_t*>(block);
        delivery.bytes.insert(delivery.bytes.end(), p, p + bytes);
        source.FreeBuffer(block);
    }
}

std::vector<uint8_t> ReadRange(CPlayerPluginIF& plugin, uint64_t first, uint64_t last)
{
    void* data = nullptr;
    uint32_t bytes = 0;
    if (plugin.SetRange(first, last) != PPI_OK || plugin.Read(&data, &bytes) != PPI_OK) {
        return {};
    }
    const auto* p = static_cast<const uint8_t*>(data);
    std::vector<uint8_t> out(p, p + bytes);
    plugin.ReleaseReadBuffer();
    return out;
}

} // namespace sonavel::test
