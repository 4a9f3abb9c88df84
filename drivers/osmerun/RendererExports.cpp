// The renderer library's exports: the host functions for one selected shared-mode device, which is
// played through the same ALSA driver as the cards, on a sound-server PCM.
#include "drivers/alsa/AlsaDriver.h"
#include "drivers/osmerun/SharedModeDevices.h"
#include "output/RendererLibraryApi.h"
#include "platform/Utf.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

using namespace sonavel;

namespace {

struct RendererState {
    std::string pcm; // the selected device's PCM; empty when none is selected
    int32_t flags = 0;
    std::unique_ptr<AlsaDriver> driver;
};

RendererState& State()
{
    static RendererState state;
    return state;
}

IAsioDriver* Driver()
{
    return State().driver.get();
}

void Fill(char16_t* field, size_t capacity, const std::u16string& text)
{
    const size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(field, text.data(), length * sizeof(char16_t));
    field[length] = u'\0';
}

bool IsDsdFormat(AsioLong selector, const void* opt)
{
    return (selector == kAsioCanDoIoFormat || selector == kAsioSetIoFormat) && opt != nullptr &&
        static_cast<const ASIOIoFormat*>(opt)->FormatType == kASIODSDFormat;
}

} // namespace

#define RENDERER_EXPORT extern "C" __attribute__((visibility("default")))

RENDERER_EXPORT ASIOError Init(ASIODriverInfo* info)
{
    RendererState& state = State();
    if (state.pcm.empty()) {
        return ASE_NotPresent;
    }
    if (!state.driver) {
        state.driver = std::make_unique<AlsaDriver>(state.pcm);
    }
    if (state.driver->init(info->sysRef) == ASIOFalse) {
        state.driver->getErrorMessage(info->errorMessage);
        state.driver.reset();
        return ASE_NotPresent;
    }
    state.driver->getDriverName(info->name);
    info->driverVersion = state.driver->getDriverVersion();
    return ASE_OK;
}

RENDERER_EXPORT ASIOError Exit()
{
    State().driver.reset();
    return ASE_OK;
}

RENDERER_EXPORT ASIOError Start()
{
    return Driver() ? Driver()->start() : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError Stop()
{
    return Driver() ? Driver()->stop() : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetChannels(AsioLong* in, AsioLong* out)
{
    return Driver() ? Driver()->getChannels(in, out) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetLatencies(AsioLong* in, AsioLong* out)
{
    return Driver() ? Driver()->getLatencies(in, out) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetBufferSize(
    AsioLong* minSize, AsioLong* maxSize, AsioLong* preferred, AsioLong* granularity)
{
    return Driver() ? Driver()->getBufferSize(minSize, maxSize, preferred, granularity) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError CanSampleRate(ASIOSampleRate rate)
{
    return Driver() ? Driver()->canSampleRate(rate) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetSampleRate(ASIOSampleRate* rate)
{
    return Driver() ? Driver()->getSampleRate(rate) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError SetSampleRate(ASIOSampleRate rate)
{
    return Driver() ? Driver()->setSampleRate(rate) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetClockSources(ASIOClockSource* clocks, AsioLong* count)
{
    return Driver() ? Driver()->getClockSources(clocks, count) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError SetClockSource(AsioLong reference)
{
    return Driver() ? Driver()->setClockSource(reference) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetSamplePosition(ASIOSamples* position, ASIOTimeStamp* stamp)
{
    return Driver() ? Driver()->getSamplePosition(position, stamp) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError GetChannelInfo(ASIOChannelInfo* info)
{
    return Driver() ? Driver()->getChannelInfo(info) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError CreateBuffers(
    ASIOBufferInfo* infos, AsioLong count, AsioLong size, const ASIOCallbacks* callbacks)
{
    return Driver() ? Driver()->createBuffers(infos, count, size, callbacks) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError DisposeBuffers()
{
    return Driver() ? Driver()->disposeBuffers() : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError ControlPanel()
{
    return Driver() ? Driver()->controlPanel() : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError Future(AsioLong selector, void* opt)
{
    // The sound server mixes PCM; native DSD cannot pass through it.
    if (IsDsdFormat(selector, opt)) {
        return ASE_NotPresent;
    }
    return Driver() ? Driver()->future(selector, opt) : ASE_NotPresent;
}
RENDERER_EXPORT ASIOError OutputReady()
{
    return Driver() ? Driver()->outputReady() : ASE_NotPresent;
}

RENDERER_EXPORT int32_t EnumerateWASAPIDevices(WasapiDeviceRecord* out, int32_t max, int32_t* count)
{
    if (out == nullptr || count == nullptr || max < 0) {
        return 0;
    }
    int32_t n = 0;
    for (const auto& device : EnumerateSharedModeDevices()) {
        if (n == max) {
            break;
        }
        out[n] = {};
        Fill(out[n].name, std::size(out[n].name), device.name);
        Fill(out[n].endpointId, std::size(out[n].endpointId), Utf8ToUtf16(device.pcm));
        Fill(out[n].instancePath, std::size(out[n].instancePath), device.instancePath);
        ++n;
    }
    *count = n;
    return 1;
}

RENDERER_EXPORT int32_t SelectWASAPIDevice(const char16_t* name, int32_t flags)
{
    if (name == nullptr) {
        return 0;
    }
    for (const auto& device : EnumerateSharedModeDevices()) {
        if (device.name == name) {
            RendererState& state = State();
            state.driver.reset();
            state.pcm = device.pcm;
            state.flags = flags;
            return 1;
        }
    }
    return 0;
}

RENDERER_EXPORT int32_t GetSelectedFlags()
{
    return State().flags;
}
