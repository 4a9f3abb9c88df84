#pragma once

#include "output/OutputLocations.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sonavel {

class RendererLibrary;
class CAsioWrapperImpl;

inline constexpr int32_t kDeviceKindAsio = 1;
inline constexpr int32_t kDeviceKindWasapi = 2;

inline constexpr uint8_t kDeviceFlagNativeDsd = 0x1;
inline constexpr uint8_t kDeviceFlagDsdModeChoice = 0x2;

inline constexpr double kDefaultReadSeconds = 0.1;

// One offered output device with the profile that matched it.
struct DeviceRecord {
    int32_t kind = 0;
    std::u16string name; // the driver name, or "WASAPI: " + the renderer device's name
    double readSecondsPcm = kDefaultReadSeconds;
    double readSecondsDop = kDefaultReadSeconds;
    uint32_t pcmExcludedRates = 0;
    uint32_t dopExcludedRates = 0;
    uint32_t nativeExcludedRates = 0;
    uint8_t flags = 0;
};

// Where the device list finds its devices.
struct DeviceSources {
    OutputLocations locations;
    const RendererLibrary* renderer = nullptr; // null: no renderer devices
};

// The output devices this player drives well: registered drivers and renderer devices that match
// a built-in device profile with their hardware present. A cheap handle to a shared list.
class CDevNameInfo {
public:
    class Impl;

    CDevNameInfo();
    // Builds the list; includeAll (debug mode) also admits devices of the generic profiles.
    static CDevNameInfo Build(bool includeAll, const DeviceSources& sources);

    int32_t Count() const;
    // Empty text for an index outside the list.
    std::u16string Name(int32_t index) const;
    const DeviceRecord* Record(int32_t index) const;
    // The feeder's read time for the device of that name; kDefaultReadSeconds when not listed.
    double ReadSeconds(const std::u16string& deviceName, bool dop) const;

private:
    explicit CDevNameInfo(std::shared_ptr<Impl> impl);

    std::shared_ptr<Impl> impl_;
};

// Whether the device at index plays `rate`: a PCM rate, a DoP carrier rate (isDsd, not native) or a
// native DSD bit rate (isDsd and nativeDsd). An index outside the list refuses.
bool IsRateAllowed(const CDevNameInfo& list, int32_t index, bool isDsd, bool nativeDsd, double rate);

inline constexpr int32_t kDeviceListNoOutput = -2;
inline constexpr int32_t kDeviceListEmpty = -4;

// The player core's entry point: 0 with a new list in *out, -2 without out, -4 for an empty list.
int32_t GetDeviceList(CDevNameInfo* out, bool includeAll, const CAsioWrapperImpl& wrapper);

} // namespace sonavel
