#pragma once

#include "output/AsioTypes.h"

#include <cstdint>

namespace sonavel {

// The renderer library (osmerun.so in the program folder) exports these 22 functions with C
// linkage: the first 19 are the host functions for its own devices, the last three select one.
inline constexpr const char* kRendererLibraryName = "osmerun.so";

// One device as the library lists it: zero-terminated UTF-16 texts, the name from byte 0, the
// endpoint id from byte 256 and the instance path (e.g. "USB\VID_0B7E&PID_4A12&...") from byte 512.
struct WasapiDeviceRecord {
    char16_t name[128];
    char16_t endpointId[128];
    char16_t instancePath[256];
};
static_assert(sizeof(WasapiDeviceRecord) == 1024);

inline constexpr int32_t kWasapiEnumerateMax = 64;

using RendererInitFn = ASIOError (*)(ASIODriverInfo* info);
using RendererVoidFn = ASIOError (*)();
using RendererPairFn = ASIOError (*)(AsioLong* first, AsioLong* second);
using RendererBufferSizeFn = ASIOError (*)(
    AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity);
using RendererRateFn = ASIOError (*)(ASIOSampleRate rate);
using RendererGetRateFn = ASIOError (*)(ASIOSampleRate* rate);
using RendererGetClockSourcesFn = ASIOError (*)(ASIOClockSource* clocks, AsioLong* numSources);
using RendererSetClockSourceFn = ASIOError (*)(AsioLong reference);
using RendererSamplePositionFn = ASIOError (*)(ASIOSamples* sPos, ASIOTimeStamp* tStamp);
using RendererChannelInfoFn = ASIOError (*)(ASIOChannelInfo* info);
using RendererCreateBuffersFn = ASIOError (*)(
    ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize, const ASIOCallbacks* callbacks);
using RendererFutureFn = ASIOError (*)(AsioLong selector, void* opt);
using RendererEnumerateFn = int32_t (*)(WasapiDeviceRecord* out, int32_t max, int32_t* count);
using RendererSelectFn = int32_t (*)(const char16_t* name, int32_t flags);
using RendererSelectedFlagsFn = int32_t (*)();

// The bound exports, in export order; a missing export stays null.
struct RendererTable {
    RendererInitFn Init = nullptr;
    RendererVoidFn Exit = nullptr;
    RendererVoidFn Start = nullptr;
    RendererVoidFn Stop = nullptr;
    RendererPairFn GetChannels = nullptr;
    RendererPairFn GetLatencies = nullptr;
    RendererBufferSizeFn GetBufferSize = nullptr;
    RendererRateFn CanSampleRate = nullptr;
    RendererGetRateFn GetSampleRate = nullptr;
    RendererRateFn SetSampleRate = nullptr;
    RendererGetClockSourcesFn GetClockSources = nullptr;
    RendererSetClockSourceFn SetClockSource = nullptr;
    RendererSamplePositionFn GetSamplePosition = nullptr;
    RendererChannelInfoFn GetChannelInfo = nullptr;
    RendererCreateBuffersFn CreateBuffers = nullptr;
    RendererVoidFn DisposeBuffers = nullptr;
    RendererVoidFn ControlPanel = nullptr;
    RendererFutureFn Future = nullptr;
    RendererVoidFn OutputReady = nullptr;
    RendererEnumerateFn EnumerateWASAPIDevices = nullptr;
    RendererSelectFn SelectWASAPIDevice = nullptr;
    RendererSelectedFlagsFn GetSelectedFlags = nullptr;
};

} // namespace sonavel
