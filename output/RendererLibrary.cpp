#include "output/RendererLibrary.h"

#include <dlfcn.h>

#include <algorithm>

namespace sonavel {

namespace {

template <typename Fn>
void Bind(void* module, const char* name, Fn& slot)
{
    slot = reinterpret_cast<Fn>(dlsym(module, name));
}

} // namespace

RendererLibrary::RendererLibrary(const std::filesystem::path& programFolder)
{
    if (programFolder.empty()) {
        return;
    }
    module_ = dlopen((programFolder / kRendererLibraryName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module_ == nullptr) {
        return;
    }
    Bind(module_, "Init", table_.Init);
    Bind(module_, "Exit", table_.Exit);
    Bind(module_, "Start", table_.Start);
    Bind(module_, "Stop", table_.Stop);
    Bind(module_, "GetChannels", table_.GetChannels);
    Bind(module_, "GetLatencies", table_.GetLatencies);
    Bind(module_, "GetBufferSize", table_.GetBufferSize);
    Bind(module_, "CanSampleRate", table_.CanSampleRate);
    Bind(module_, "GetSampleRate", table_.GetSampleRate);
    Bind(module_, "SetSampleRate", table_.SetSampleRate);
    Bind(module_, "GetClockSources", table_.GetClockSources);
    Bind(module_, "SetClockSource", table_.SetClockSource);
    Bind(module_, "GetSamplePosition", table_.GetSamplePosition);
    Bind(module_, "GetChannelInfo", table_.GetChannelInfo);
    Bind(module_, "CreateBuffers", table_.CreateBuffers);
    Bind(module_, "DisposeBuffers", table_.DisposeBuffers);
    Bind(module_, "ControlPanel", table_.ControlPanel);
    Bind(module_, "Future", table_.Future);
    Bind(module_, "OutputReady", table_.OutputReady);
    Bind(module_, "EnumerateWASAPIDevices", table_.EnumerateWASAPIDevices);
    Bind(module_, "SelectWASAPIDevice", table_.SelectWASAPIDevice);
    Bind(module_, "GetSelectedFlags", table_.GetSelectedFlags);
}

RendererLibrary::~RendererLibrary()
{
    if (module_ != nullptr) {
        dlclose(module_);
    }
}

std::vector<WasapiDeviceRecord> RendererLibrary::EnumerateDevices() const
{
    std::vector<WasapiDeviceRecord> records(kWasapiEnumerateMax);
    int32_t count = 0;
    if (table_.EnumerateWASAPIDevices == nullptr ||
        table_.EnumerateWASAPIDevices(records.data(), kWasapiEnumerateMax, &count) == 0) {
        return {};
    }
    records.resize(static_cast<size_t>(std::clamp(count, 0, kWasapiEnumerateMax)));
    return records;
}

std::u16string RecordText(const char16_t* field, size_t capacity)
{
    size_t length = 0;
    while (length < capacity && field[length] != u'\0') {
        ++length;
    }
    return std::u16string(field, length);
}

} // namespace sonavel
