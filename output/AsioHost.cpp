#include "output/AsioHost.h"

namespace sonavel {

bool LoadAsioDriverByName(std::shared_ptr<CAsioWrapperImpl> wrapper, const std::u16string& name)
{
    return wrapper ? wrapper->LoadDriver(name) : false;
}

ASIOError ASIOInit(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIODriverInfo* info)
{
    return wrapper ? wrapper->Init(info) : ASE_InvalidMode;
}

ASIOError ASIOExit(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->Exit() : ASE_InvalidMode;
}

ASIOError ASIOStart(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->Start() : ASE_InvalidMode;
}

ASIOError ASIOStop(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->Stop() : ASE_InvalidMode;
}

ASIOError ASIOGetChannels(
    std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* numInputChannels, AsioLong* numOutputChannels)
{
    return wrapper ? wrapper->GetChannels(numInputChannels, numOutputChannels) : ASE_InvalidMode;
}

ASIOError ASIOGetLatencies(
    std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* inputLatency, AsioLong* outputLatency)
{
    return wrapper ? wrapper->GetLatencies(inputLatency, outputLatency) : ASE_InvalidMode;
}

ASIOError ASIOGetBufferSize(std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* minSize, AsioLong* maxSize,
    AsioLong* preferredSize, AsioLong* granularity)
{
    return wrapper ? wrapper->GetBufferSize(minSize, maxSize, preferredSize, granularity) : ASE_InvalidMode;
}

ASIOError ASIOCanSampleRate(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSampleRate sampleRate)
{
    return wrapper ? wrapper->CanSampleRate(sampleRate) : ASE_InvalidMode;
}

ASIOError ASIOSetSampleRate(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSampleRate sampleRate)
{
    return wrapper ? wrapper->SetSampleRate(sampleRate) : ASE_InvalidMode;
}

ASIOError ASIOGetSamplePosition(
    std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSamples* sPos, ASIOTimeStamp* tStamp)
{
    return wrapper ? wrapper->GetSamplePosition(sPos, tStamp) : ASE_InvalidMode;
}

ASIOError ASIOGetChannelInfo(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOChannelInfo* info)
{
    return wrapper ? wrapper->GetChannelInfo(info) : ASE_InvalidMode;
}

ASIOError ASIOCreateBuffers(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOBufferInfo* bufferInfos,
    AsioLong numChannels, AsioLong bufferSize, const ASIOCallbacks* callbacks)
{
    return wrapper ? wrapper->CreateBuffers(bufferInfos, numChannels, bufferSize, callbacks)
                   : ASE_InvalidMode;
}

ASIOError ASIODisposeBuffers(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->DisposeBuffers() : ASE_InvalidMode;
}

ASIOError ASIOControlPanel(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->ControlPanel() : ASE_InvalidMode;
}

ASIOError ASIOFuture(std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong selector, void* opt)
{
    return wrapper ? wrapper->Future(selector, opt) : ASE_InvalidMode;
}

ASIOError ASIOOutputReady(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->OutputReady() : ASE_InvalidMode;
}

int32_t ASIOGetSelectedFlags(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->GetSelectedFlags() : 0;
}

bool ASIOIsWasapiSelected(std::shared_ptr<CAsioWrapperImpl> wrapper)
{
    return wrapper ? wrapper->IsWasapiSelected() : false;
}

} // namespace sonavel
