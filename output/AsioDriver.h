#pragma once

#include "output/AsioTypes.h"

namespace sonavel {

// The driver interface every output driver module implements, method for method in the order of
// the published ASIO driver interface. Drivers call the host back only through ASIOCallbacks.
class IAsioDriver {
public:
    virtual ~IAsioDriver() = default;

    virtual ASIOBool init(void* sysHandle) = 0;
    virtual void getDriverName(char* name) = 0; // up to 32 bytes with the terminating zero
    virtual AsioLong getDriverVersion() = 0;
    virtual void getErrorMessage(char* string) = 0; // up to 124 bytes with the terminating zero
    virtual ASIOError start() = 0;
    virtual ASIOError stop() = 0;
    virtual ASIOError getChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels) = 0;
    virtual ASIOError getLatencies(AsioLong* inputLatency, AsioLong* outputLatency) = 0;
    virtual ASIOError getBufferSize(
        AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity) = 0;
    virtual ASIOError canSampleRate(ASIOSampleRate sampleRate) = 0;
    virtual ASIOError getSampleRate(ASIOSampleRate* sampleRate) = 0;
    virtual ASIOError setSampleRate(ASIOSampleRate sampleRate) = 0;
    virtual ASIOError getClockSources(ASIOClockSource* clocks, AsioLong* numSources) = 0;
    virtual ASIOError setClockSource(AsioLong reference) = 0;
    virtual ASIOError getSamplePosition(ASIOSamples* sPos, ASIOTimeStamp* tStamp) = 0;
    virtual ASIOError getChannelInfo(ASIOChannelInfo* info) = 0;
    virtual ASIOError createBuffers(ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize,
        const ASIOCallbacks* callbacks) = 0;
    virtual ASIOError disposeBuffers() = 0;
    virtual ASIOError controlPanel() = 0;
    virtual ASIOError future(AsioLong selector, void* opt) = 0;
    virtual ASIOError outputReady() = 0;
};

} // namespace sonavel
