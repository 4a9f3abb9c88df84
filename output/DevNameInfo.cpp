#include "output/DevNameInfo.h"

#include "output/AsioDriverList.h"
#include "output/AsioWrapperImpl.h"
#include "output/RateMasks.h"
#include "output/RendererLibrary.h"
#include "output/UsbDevices.h"
#include "platform/CodePage.h"
#include "platform/Utf.h"

#include <algorithm>
#include <array>
#include <optional>
#include <regex>
#include <span>

namespace sonavel {

namespace {

struct DeviceProfile {
    int32_t kind;
    const char* pattern;
    int32_t vendor; // -1: any
    int32_t product;
    double readSecondsPcm;
    double readSecondsDop;
    uint32_t pcmMask;
    uint32_t dopMask;
    uint32_t nativeMask;
    uint8_t flags;

    bool NamesHardware() const { return vendor != -1 || product != -1; }
    bool Matches(const UsbIds& ids) const
    {
        return (vendor == -1 || vendor == ids.vendor) && (product == -1 || product == ids.product);
    }
};

// The maker's devices take DoP only at 176400, 352800 and 705600 Hz and native DSD only at
// 2822400, 5644800, 11289600 and 22579200 Hz.
constexpr uint32_t kMakerDopMask = 0xFFFFFD5F;
constexpr uint32_t kMakerNativeMask = 0xFFFFFAAF;
constexpr int32_t kAsio = kDeviceKindAsio;
constexpr int32_t kWasapi = kDeviceKindWasapi;

// Searched in this order. The generic driver row applies to drivers only, so that renderer devices
// reach their own generic row (no native DSD) rather than the drivers' one.
constexpr std::array<DeviceProfile, 6> kProfiles = {{
    {kAsio, "^KESTRANE ASIO USB DRIVER", 0x0B7E, 0x4A31, 0.1, 0.1, 0x800, kMakerDopMask, kMakerNativeMask, 3},
    {kAsio, "^KESTRANE ASIO USB DRIVER", 0x0B7E, 0x4A1B, 0.1, 0.1, 0x800, kMakerDopMask, kMakerNativeMask, 3},
    {kAsio, "^KESTRANE ASIO USB DRIVER", 0x0B7E, 0x4A3E, 0.1, 0.1, 0x200, kMakerDopMask, kMakerNativeMask, 3},
    {kWasapi, "^WASAPI: .*", 0x0B7E, 0x4A0D, 0.1, 0.1, 0, 0, 0, 0},
    {kAsio, "^.*$", -1, -1, 0.1, 0.1, 0, 0, 0, 3},
    {kWasapi, "^WASAPI: .*", -1, -1, 0.1, 0.1, 0, 0, 0, 0},
}};

constexpr std::array<std::u16string_view, 2> kExcludedDrivers = {
    u"Generic Low Latency ASIO Driver", u"Realtek ASIO"};

// Renderer device texts longer than these are not taken.
constexpr size_t kMaxEndpointName = 127;
constexpr size_t kMaxEndpointId = 127;
constexpr size_t kMaxInstancePath = 255;

constexpr size_t kDriverNameBytes = 256;

} // namespace

class CDevNameInfo::Impl {
public:
    Impl()
    {
        for (size_t row = 0; row < kProfiles.size(); ++row) {
            patterns_[row] = std::regex(kProfiles[row].pattern, std::regex::ECMAScript);
        }
    }

    void Build(bool includeAll, const DeviceSources& sources)
    {
        records_.clear();
        AddDrivers(includeAll, sources.locations);
        if (sources.renderer != nullptr) {
            AddRendererDevices(includeAll, *sources.renderer);
        }
    }

    const std::vector<DeviceRecord>& Records() const { return records_; }

private:
    // The first profile of this kind whose pattern matches the name and whose ids one of the
    // devices carries.
    std::optional<size_t> ChooseProfile(
        int32_t kind, const std::u16string& name, std::span<const UsbIds> devices) const
    {
        const std::string text = Utf16ToUtf8(name);
        for (size_t row = 0; row < kProfiles.size(); ++row) {
            if (kProfiles[row].kind != kind || !std::regex_match(text, patterns_[row])) {
                continue;
            }
            for (const auto& ids : devices) {
                if (kProfiles[row].Matches(ids)) {
                    return row;
                }
            }
        }
        return std::nullopt;
    }

    void Add(bool includeAll, int32_t kind, std::u16string name, std::optional<size_t> row)
    {
        if (!row || !(includeAll || kProfiles[*row].NamesHardware())) {
            return;
        }
        const DeviceProfile& profile = kProfiles[*row];
        records_.push_back({kind, std::move(name), profile.readSecondsPcm, profile.readSecondsDop,
            profile.pcmMask, profile.dopMask, profile.nativeMask, profile.flags});
    }

    void AddDrivers(bool includeAll, const OutputLocations& locations)
    {
        std::vector<UsbIds> usb;
        for (const auto& path : PresentUsbDevicePaths(locations.sysfsRoot)) {
            if (const auto ids = ParseUsbIds(path)) {
                usb.push_back(*ids);
            }
        }
        const AsioDriverList drivers(locations);
        for (int32_t id = 0; id < drivers.Count(); ++id) {
            char text[kDriverNameBytes];
            if (drivers.GetName(id, text, sizeof(text)) != 0) {
                continue;
            }
            std::u16string name = DecodeSystemText(text);
            if (std::find(kExcludedDrivers.begin(), kExcludedDrivers.end(), name) != kExcludedDrivers.end()) {
                continue;
            }
            const auto row = ChooseProfile(kDeviceKindAsio, name, usb);
            Add(includeAll, kDeviceKindAsio, std::move(name), row);
        }
    }

    void AddRendererDevices(bool includeAll, const RendererLibrary& renderer)
    {
        for (const auto& record : renderer.EnumerateDevices()) {
            const std::u16string deviceName = RecordText(record.name, std::size(record.name));
            const std::u16string endpointId = RecordText(record.endpointId, std::size(record.endpointId));
            const std::u16string instancePath =
                RecordText(record.instancePath, std::size(record.instancePath));
            if (deviceName.empty() || deviceName.size() > kMaxEndpointName ||
                endpointId.size() > kMaxEndpointId || instancePath.empty() ||
                instancePath.size() > kMaxInstancePath) {
                continue;
            }
            const auto ids = ParseUsbIds(Utf16ToUtf8(instancePath));
            if (!ids) {
                continue;
            }
            std::u16string name = u"WASAPI: " + deviceName;
            const auto row = ChooseProfile(kDeviceKindWasapi, name, std::span(&*ids, 1));
            Add(includeAll, kDeviceKindWasapi, std::move(name), row);
        }
    }

    std::array<std::regex, kProfiles.size()> patterns_;
    std::vector<DeviceRecord> records_;
};

CDevNameInfo::CDevNameInfo() = default;

CDevNameInfo::CDevNameInfo(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) { }

CDevNameInfo CDevNameInfo::Build(bool includeAll, const DeviceSources& sources)
{
    auto impl = std::make_shared<Impl>();
    impl->Build(includeAll, sources);
    return CDevNameInfo(std::move(impl));
}

int32_t CDevNameInfo::Count() const
{
    return impl_ ? static_cast<int32_t>(impl_->Records().size()) : 0;
}

const DeviceRecord* CDevNameInfo::Record(int32_t index) const
{
    if (index < 0 || index >= Count()) {
        return nullptr;
    }
    return &impl_->Records()[static_cast<size_t>(index)];
}

std::u16string CDevNameInfo::Name(int32_t index) const
{
    const DeviceRecord* record = Record(index);
    return record != nullptr ? record->name : std::u16string{};
}

double CDevNameInfo::ReadSeconds(const std::u16string& deviceName, bool dop) const
{
    for (int32_t index = 0; index < Count(); ++index) {
        const DeviceRecord* record = Record(index);
        if (record->name == deviceName) {
            return dop ? record->readSecondsDop : record->readSecondsPcm;
        }
    }
    return kDefaultReadSeconds;
}

bool IsRateAllowed(const CDevNameInfo& list, int32_t index, bool isDsd, bool nativeDsd, double rate)
{
    const DeviceRecord* record = list.Record(index);
    if (record == nullptr) {
        return false;
    }
    if (isDsd && nativeDsd) {
        const auto bit = NativeDsdRateBit(rate);
        return (record->flags & kDeviceFlagNativeDsd) != 0 && bit &&
            (record->nativeExcludedRates & *bit) == 0;
    }
    const auto bit = PcmRateBit(rate);
    const uint32_t excluded = isDsd ? record->dopExcludedRates : record->pcmExcludedRates;
    return !bit || (excluded & *bit) == 0;
}

int32_t GetDeviceList(CDevNameInfo* out, bool includeAll, const CAsioWrapperImpl& wrapper)
{
    if (out == nullptr) {
        return kDeviceListNoOutput;
    }
    *out = CDevNameInfo::Build(includeAll, DeviceSources{wrapper.Locations(), &wrapper.Renderer()});
    return out->Count() == 0 ? kDeviceListEmpty : 0;
}

} // namespace sonavel
