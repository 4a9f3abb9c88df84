// A stand-in for the renderer library: three devices, remembered selections, and host functions
// that answer recognisable values so tests can see the calls arrive.
#include "output/RendererLibraryApi.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace sonavel;

namespace {

std::u16string selectedName;
int32_t selectedFlags = 0;

void Fill(char16_t* field, size_t capacity, std::u16string_view text)
{
    const size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(field, text.data(), length * sizeof(char16_t));
    field[length] = u'\0';
}

} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT ASIOError Init(ASIODriverInfo* info)
{
    std::strcpy(info->name, "Fake Renderer");
    return ASE_OK;
}
FAKE_EXPORT ASIOError Exit()
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError Start()
{
    return 7;
}
FAKE_EXPORT ASIOError Stop()
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetChannels(AsioLong* in, AsioLong* out)
{
    *in = 0;
    *out = 6;
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetLatencies(AsioLong*, AsioLong*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetBufferSize(AsioLong*, AsioLong*, AsioLong*, AsioLong*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError CanSampleRate(ASIOSampleRate rate)
{
    return rate == 48000 ? ASE_OK : ASE_NoClock;
}
FAKE_EXPORT ASIOError GetSampleRate(ASIOSampleRate*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError SetSampleRate(ASIOSampleRate)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetClockSources(ASIOClockSource*, AsioLong*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError SetClockSource(AsioLong)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetSamplePosition(ASIOSamples*, ASIOTimeStamp*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError GetChannelInfo(ASIOChannelInfo*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError CreateBuffers(ASIOBufferInfo*, AsioLong, AsioLong, const ASIOCallbacks*)
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError DisposeBuffers()
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError ControlPanel()
{
    return ASE_OK;
}
FAKE_EXPORT ASIOError Future(AsioLong, void*)
{
    return ASE_SUCCESS;
}
FAKE_EXPORT ASIOError OutputReady()
{
    return ASE_OK;
}

FAKE_EXPORT int32_t EnumerateWASAPIDevices(WasapiDeviceRecord* out, int32_t max, int32_t* count)
{
    struct Device {
        std::u16string_view name;
        std::u16string_view path;
    };
    static constexpr Device kDevices[] = {
        {u"Speakers (KESTRANE USB)", u"USB\\VID_0B7E&PID_4A12&MI_00\\7&1A2B3C4D&0&0000"},
        {u"KESTRANE DAC", u"USB\\VID_0B7E&PID_4A0D&MI_00\\7&11111111&0&0000"},
        {u"HDMI Output", u"HDAUDIO\\FUNC_01&VEN_10DE&DEV_0083\\5&2A3B4C5D&0&0001"},
    };
    int32_t n = 0;
    for (const auto& device : kDevices) {
        if (n == max) {
            break;
        }
        out[n] = {};
        Fill(out[n].name, std::size(out[n].name), device.name);
        Fill(out[n].endpointId, std::size(out[n].endpointId), u"{0.0.0.00000000}.{fake}");
        Fill(out[n].instancePath, std::size(out[n].instancePath), device.path);
        ++n;
    }
    *count = n;
    return 1;
}

FAKE_EXPORT int32_t SelectWASAPIDevice(const char16_t* name, int32_t flags)
{
    selectedName = name;
    selectedFlags = flags;
    return selectedName == u"Speakers (KESTRANE USB)" || selectedName == u"HDMI Output";
}

FAKE_EXPORT int32_t GetSelectedFlags()
{
    return selectedFlags;
}
