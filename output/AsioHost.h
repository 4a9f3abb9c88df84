#pragma once

#include "output/AsioWrapperImpl.h"

#include <memory>
#include <string>

namespace sonavel {

// The host functions the engine calls. Each holds its own copy of the wrapper pointer for the
// whole call, so the wrapper cannot go away under it; without a wrapper they answer -997.
bool LoadAsioDriverByName(std::shared_ptr<CAsioWrapperImpl> wrapper, const std::u16string& name);
ASIOError ASIOInit(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIODriverInfo* info);
ASIOError ASIOExit(std::shared_ptr<CAsioWrapperImpl> wrapper);
ASIOError ASIOStart(std::shared_ptr<CAsioWrapperImpl> wrapper);
ASIOError ASIOStop(std::shared_ptr<CAsioWrapperImpl> wrapper);
ASIOError ASIOGetChannels(
    std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* numInputChannels, AsioLong* numOutputChannels);
ASIOError ASIOGetLatencies(
    std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* inputLatency, AsioLong* outputLatency);
ASIOError ASIOGetBufferSize(std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong* minSize, AsioLong* maxSize,
    AsioLong* preferredSize, AsioLong* granularity);
ASIOError ASIOCanSampleRate(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSampleRate sampleRate);
ASIOError ASIOSetSampleRate(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSampleRate sampleRate);
ASIOError ASIOGetSamplePosition(
    std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOSamples* sPos, ASIOTimeStamp* tStamp);
ASIOError ASIOGetChannelInfo(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOChannelInfo* info);
ASIOError ASIOCreateBuffers(std::shared_ptr<CAsioWrapperImpl> wrapper, ASIOBufferInfo* bufferInfos,
    AsioLong numChannels, AsioLong bufferSize, const ASIOCallbacks* callbacks);
ASIOError ASIODisposeBuffers(std::shared_ptr<CAsioWrapperImpl> wrapper);
ASIOError ASIOControlPanel(std::shared_ptr<CAsioWrapperImpl> wrapper);
ASIOError ASIOFuture(std::shared_ptr<CAsioWrapperImpl> wrapper, AsioLong selector, void* opt);
ASIOError ASIOOutputReady(std::shared_ptr<CAsioWrapperImpl> wrapper);
int32_t ASIOGetSelectedFlags(std::shared_ptr<CAsioWrapperImpl> wrapper);
bool ASIOIsWasapiSelected(std::shared_ptr<CAsioWrapperImpl> wrapper);

} // namespace sonavel
