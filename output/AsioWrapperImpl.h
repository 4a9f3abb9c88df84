#pragma once

#include "output/AsioDriverList.h"
#include "output/AsioTypes.h"
#include "output/OutputLocations.h"
#include "output/RendererLibrary.h"

#include <atomic>
#include <memory>
#include <string>

namespace sonavel {

// Flags given to a renderer device at selection: 1 always; 0x10000 lets the device stay open
// between tracks (the maker's own USB devices).
inline constexpr int32_t kWasapiFlagsDefault = 1;
inline constexpr int32_t kWasapiFlagKeepOpen = 0x10000;

// The one door to every output device: the registered drivers of the driver list and the devices
// of the renderer library. Each host function dispatches to whichever kind is selected.
class CAsioWrapperImpl {
public:
    explicit CAsioWrapperImpl(OutputLocations locations);
    CAsioWrapperImpl(const CAsioWrapperImpl&) = delete;
    CAsioWrapperImpl& operator=(const CAsioWrapperImpl&) = delete;
    ~CAsioWrapperImpl();

    // Loads the driver or selects the renderer device shown as `name` in the device list.
    bool LoadDriver(const std::u16string& name);

    ASIOError Init(ASIODriverInfo* info);
    ASIOError Exit();
    ASIOError Start();
    ASIOError Stop();
    ASIOError GetChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels);
    ASIOError GetLatencies(AsioLong* inputLatency, AsioLong* outputLatency);
    ASIOError GetBufferSize(
        AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity);
    ASIOError CanSampleRate(ASIOSampleRate sampleRate);
    ASIOError GetSampleRate(ASIOSampleRate* sampleRate);
    ASIOError SetSampleRate(ASIOSampleRate sampleRate);
    ASIOError GetClockSources(ASIOClockSource* clocks, AsioLong* numSources);
    ASIOError SetClockSource(AsioLong reference);
    ASIOError GetSamplePosition(ASIOSamples* sPos, ASIOTimeStamp* tStamp);
    ASIOError GetChannelInfo(ASIOChannelInfo* info);
    ASIOError CreateBuffers(ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize,
        const ASIOCallbacks* callbacks);
    ASIOError DisposeBuffers();
    ASIOError ControlPanel();
    ASIOError Future(AsioLong selector, void* opt);
    ASIOError OutputReady();
    int32_t GetSelectedFlags() const;
    bool IsWasapiSelected() const { return wasapiSelected_; }

    const OutputLocations& Locations() const { return locations_; }
    const RendererLibrary& Renderer() const { return renderer_; }

private:
    bool LoadAsioDriver(const std::string& name);
    bool SelectWasapiDevice(const std::u16string& name);
    IAsioDriver* CurrentDriver() const;
    // The selected renderer device's function, else the current driver's method, else -1000.
    template <typename RendererFn, typename Method, typename... Args>
    ASIOError Dispatch(RendererFn rendererFn, Method method, Args... args);

    OutputLocations locations_;
    RendererLibrary renderer_;
    std::unique_ptr<AsioDriverList> drivers_;
    std::atomic<bool> wasapiSelected_{false};
};

} // namespace sonavel
