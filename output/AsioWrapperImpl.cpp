#include "output/AsioWrapperImpl.h"

#include "platform/Utf.h"

#include <algorithm>
#include <cstring>
#include <regex>

namespace sonavel {

namespace {

// Driver names are compared as GetName returns them into a buffer of this size.
constexpr int32_t kDriverNameBufferSize = 32;
constexpr std::u16string_view kWasapiPrefix = u"WASAPI: ";

template <size_t N>
void CopyText(char (&field)[N], std::string_view text)
{
    const size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

template <typename Fn, typename... Args>
ASIOError CallRenderer(Fn fn, Args... args)
{
    return fn != nullptr ? fn(args...) : ASE_NotPresent;
}

// The maker's USB devices that may stay open between tracks.
bool KeepsDeviceOpen(const std::u16string& instancePath)
{
    static const std::regex pattern("^USB\\\\(VID_[0-9A-F]{4,4}&PID_[0-9A-F]{4,4})&.*$");
    std::smatch match;
    const std::string path = Utf16ToUtf8(instancePath);
    if (!std::regex_match(path, match, pattern)) {
        return false;
    }
    return match[1] == "VID_0B7E&PID_4A12" || match[1] == "VID_0B7E&PID_4A0D";
}

} // namespace

CAsioWrapperImpl::CAsioWrapperImpl(OutputLocations locations)
    : locations_(std::move(locations)), renderer_(locations_.programFolder)
{
}

CAsioWrapperImpl::~CAsioWrapperImpl()
{
    // Drivers may live in modules or call into the renderer library: release them first.
    drivers_.reset();
}

IAsioDriver* CAsioWrapperImpl::CurrentDriver() const
{
    return drivers_ ? drivers_->Current() : nullptr;
}

template <typename RendererFn, typename Method, typename... Args>
ASIOError CAsioWrapperImpl::Dispatch(RendererFn rendererFn, Method method, Args... args)
{
    if (wasapiSelected_) {
        return CallRenderer(rendererFn, args...);
    }
    IAsioDriver* driver = CurrentDriver();
    return driver != nullptr ? (driver->*method)(args...) : ASE_NotPresent;
}

bool CAsioWrapperImpl::LoadDriver(const std::u16string& name)
{
    wasapiSelected_ = false;
    if (LoadAsioDriver(Utf16ToUtf8(name))) {
        return true;
    }
    if (SelectWasapiDevice(name)) {
        wasapiSelected_ = true;
        return true;
    }
    return false;
}

bool CAsioWrapperImpl::LoadAsioDriver(const std::string& name)
{
    if (!drivers_) {
        drivers_ = std::make_unique<AsioDriverList>(locations_);
    }
    char text[kDriverNameBufferSize];
    for (int32_t id = 0; id < drivers_->Count(); ++id) {
        if (drivers_->GetName(id, text, sizeof(text)) != 0 || name != text) {
            continue;
        }
        std::string previous;
        if (drivers_->CurrentIndex() >= 0 &&
            drivers_->GetName(drivers_->CurrentIndex(), text, sizeof(text)) == 0) {
            previous = text;
        }
        drivers_->ReleaseCurrent();
        if (drivers_->Open(id) != nullptr) {
            return true;
        }
        drivers_->ReleaseCurrent();
        if (!previous.empty() && previous != name) {
            LoadAsioDriver(previous);
        }
        return false;
    }
    return false;
}

bool CAsioWrapperImpl::SelectWasapiDevice(const std::u16string& name)
{
    const RendererTable& table = renderer_.Table();
    if (name.empty() || !renderer_.Loaded() || table.SelectWASAPIDevice == nullptr) {
        return false;
    }
    const std::u16string stripped =
        name.starts_with(kWasapiPrefix) ? name.substr(kWasapiPrefix.size()) : name;
    int32_t flags = kWasapiFlagsDefault;
    for (const auto& record : renderer_.EnumerateDevices()) {
        if (RecordText(record.name, std::size(record.name)) == stripped) {
            if (KeepsDeviceOpen(RecordText(record.instancePath, std::size(record.instancePath)))) {
                flags |= kWasapiFlagKeepOpen;
            }
            break;
        }
    }
    return table.SelectWASAPIDevice(stripped.c_str(), flags) != 0;
}

ASIOError CAsioWrapperImpl::Init(ASIODriverInfo* info)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().Init, info);
    }
    info->driverVersion = 0;
    CopyText(info->name, "No ASIO Driver");
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        return ASE_NotPresent;
    }
    if (driver->init(info->sysRef) != ASIOFalse) {
        CopyText(info->errorMessage, "No ASIO Driver Error");
        driver->getDriverName(info->name);
        info->driverVersion = driver->getDriverVersion();
        return ASE_OK;
    }
    driver->getErrorMessage(info->errorMessage);
    drivers_->ReleaseCurrent();
    return ASE_NotPresent;
}

ASIOError CAsioWrapperImpl::Exit()
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().Exit);
    }
    if (drivers_) {
        drivers_->ReleaseCurrent();
    }
    return ASE_OK;
}

ASIOError CAsioWrapperImpl::Start()
{
    return Dispatch(renderer_.Table().Start, &IAsioDriver::start);
}

ASIOError CAsioWrapperImpl::Stop()
{
    return Dispatch(renderer_.Table().Stop, &IAsioDriver::stop);
}

ASIOError CAsioWrapperImpl::GetChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().GetChannels, numInputChannels, numOutputChannels);
    }
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        *numInputChannels = *numOutputChannels = 0;
        return ASE_NotPresent;
    }
    return driver->getChannels(numInputChannels, numOutputChannels);
}

ASIOError CAsioWrapperImpl::GetLatencies(AsioLong* inputLatency, AsioLong* outputLatency)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().GetLatencies, inputLatency, outputLatency);
    }
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        *inputLatency = *outputLatency = 0;
        return ASE_NotPresent;
    }
    return driver->getLatencies(inputLatency, outputLatency);
}

ASIOError CAsioWrapperImpl::GetBufferSize(
    AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().GetBufferSize, minSize, maxSize, preferredSize, granularity);
    }
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        *minSize = *maxSize = *preferredSize = *granularity = 0;
        return ASE_NotPresent;
    }
    return driver->getBufferSize(minSize, maxSize, preferredSize, granularity);
}

ASIOError CAsioWrapperImpl::CanSampleRate(ASIOSampleRate sampleRate)
{
    return Dispatch(renderer_.Table().CanSampleRate, &IAsioDriver::canSampleRate, sampleRate);
}

ASIOError CAsioWrapperImpl::GetSampleRate(ASIOSampleRate* sampleRate)
{
    return Dispatch(renderer_.Table().GetSampleRate, &IAsioDriver::getSampleRate, sampleRate);
}

ASIOError CAsioWrapperImpl::SetSampleRate(ASIOSampleRate sampleRate)
{
    return Dispatch(renderer_.Table().SetSampleRate, &IAsioDriver::setSampleRate, sampleRate);
}

ASIOError CAsioWrapperImpl::GetClockSources(ASIOClockSource* clocks, AsioLong* numSources)
{
    return Dispatch(renderer_.Table().GetClockSources, &IAsioDriver::getClockSources, clocks, numSources);
}

ASIOError CAsioWrapperImpl::SetClockSource(AsioLong reference)
{
    return Dispatch(renderer_.Table().SetClockSource, &IAsioDriver::setClockSource, reference);
}

ASIOError CAsioWrapperImpl::GetSamplePosition(ASIOSamples* sPos, ASIOTimeStamp* tStamp)
{
    return Dispatch(renderer_.Table().GetSamplePosition, &IAsioDriver::getSamplePosition, sPos, tStamp);
}

ASIOError CAsioWrapperImpl::GetChannelInfo(ASIOChannelInfo* info)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().GetChannelInfo, info);
    }
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        info->channelGroup = -1;
        info->type = 0;
        CopyText(info->name, "None");
        return ASE_NotPresent;
    }
    return driver->getChannelInfo(info);
}

ASIOError CAsioWrapperImpl::CreateBuffers(
    ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize, const ASIOCallbacks* callbacks)
{
    if (wasapiSelected_) {
        return CallRenderer(renderer_.Table().CreateBuffers, bufferInfos, numChannels, bufferSize, callbacks);
    }
    IAsioDriver* driver = CurrentDriver();
    if (driver == nullptr) {
        for (AsioLong i = 0; bufferInfos != nullptr && i < numChannels; ++i) {
            bufferInfos[i].buffers[0] = bufferInfos[i].buffers[1] = nullptr;
        }
        return ASE_NotPresent;
    }
    return driver->createBuffers(bufferInfos, numChannels, bufferSize, callbacks);
}

ASIOError CAsioWrapperImpl::DisposeBuffers()
{
    return Dispatch(renderer_.Table().DisposeBuffers, &IAsioDriver::disposeBuffers);
}

ASIOError CAsioWrapperImpl::ControlPanel()
{
    return Dispatch(renderer_.Table().ControlPanel, &IAsioDriver::controlPanel);
}

ASIOError CAsioWrapperImpl::Future(AsioLong selector, void* opt)
{
    return Dispatch(renderer_.Table().Future, &IAsioDriver::future, selector, opt);
}

ASIOError CAsioWrapperImpl::OutputReady()
{
    return Dispatch(renderer_.Table().OutputReady, &IAsioDriver::outputReady);
}

int32_t CAsioWrapperImpl::GetSelectedFlags() const
{
    const auto flags = renderer_.Table().GetSelectedFlags;
    return wasapiSelected_ && flags != nullptr ? flags() : 0;
}

} // namespace sonavel
