#pragma once

#include "engine/AsioSampleType.h"

#include <cstdint>

namespace sonavel {

// The records of the ASIO-shaped driver interface. Field order follows the published ASIO
// interface; its 32-bit "long" is AsioLong here so the layout does not depend on the platform.
using AsioLong = int32_t;
using ASIOBool = AsioLong;
using ASIOError = AsioLong;
using ASIOSampleRate = double;
// 64-bit sample counts and nanosecond time stamps.
using ASIOSamples = int64_t;
using ASIOTimeStamp = int64_t;

inline constexpr ASIOBool ASIOFalse = 0;
inline constexpr ASIOBool ASIOTrue = 1;

inline constexpr ASIOError ASE_OK = 0;
inline constexpr ASIOError ASE_SUCCESS = 0x3f4847a0;
inline constexpr ASIOError ASE_NotPresent = -1000;
inline constexpr ASIOError ASE_HWMalfunction = -999;
inline constexpr ASIOError ASE_InvalidParameter = -998;
inline constexpr ASIOError ASE_InvalidMode = -997;
inline constexpr ASIOError ASE_SPNotAdvancing = -996;
inline constexpr ASIOError ASE_NoClock = -995;
inline constexpr ASIOError ASE_NoMemory = -994;

struct ASIODriverInfo {
    AsioLong asioVersion;
    AsioLong driverVersion;
    char name[32];
    char errorMessage[124];
    void* sysRef;
};

struct ASIOClockSource {
    AsioLong index;
    AsioLong associatedChannel;
    AsioLong associatedGroup;
    ASIOBool isCurrentSource;
    char name[32];
};

struct ASIOChannelInfo {
    AsioLong channel;
    ASIOBool isInput;
    ASIOBool isActive;
    AsioLong channelGroup;
    int32_t type; // an AsioSampleType
    char name[32];
};

struct ASIOBufferInfo {
    ASIOBool isInput;
    AsioLong channelNum;
    void* buffers[2];
};

enum AsioTimeInfoFlags : uint32_t {
    kSystemTimeValid = 1,
    kSamplePositionValid = 1 << 1,
    kSampleRateValid = 1 << 2,
    kSpeedValid = 1 << 3,
    kSampleRateChanged = 1 << 4,
    kClockSourceChanged = 1 << 5,
};

struct AsioTimeInfo {
    double speed;
    ASIOTimeStamp systemTime;
    ASIOSamples samplePosition;
    ASIOSampleRate sampleRate;
    uint32_t flags;
    char reserved[12];
};

struct ASIOTimeCode {
    double speed;
    ASIOSamples timeCodeSamples;
    uint32_t flags;
    char future[64];
};

struct ASIOTime {
    AsioLong reserved[4];
    AsioTimeInfo timeInfo;
    ASIOTimeCode timeCode;
};

struct ASIOCallbacks {
    void (*bufferSwitch)(AsioLong doubleBufferIndex, ASIOBool directProcess);
    void (*sampleRateDidChange)(ASIOSampleRate sRate);
    AsioLong (*asioMessage)(AsioLong selector, AsioLong value, void* message, double* opt);
    ASIOTime* (*bufferSwitchTimeInfo)(ASIOTime* params, AsioLong doubleBufferIndex, ASIOBool directProcess);
};

// asioMessage selectors.
enum AsioMessageSelector : AsioLong {
    kAsioSelectorSupported = 1,
    kAsioEngineVersion,
    kAsioResetRequest,
    kAsioBufferSizeChange,
    kAsioResyncRequest,
    kAsioLatenciesChanged,
    kAsioSupportsTimeInfo,
    kAsioSupportsTimeCode,
    kAsioMMCCommand,
    kAsioSupportsInputMonitor,
    kAsioSupportsInputGain,
    kAsioSupportsInputMeter,
    kAsioSupportsOutputGain,
    kAsioSupportsOutputMeter,
    kAsioOverload,
};

// I/O format: PCM, or native DSD where the sample rate is the DSD bit rate (2822400 for DSD64).
using ASIOIoFormatType = AsioLong;
inline constexpr ASIOIoFormatType kASIOFormatInvalid = -1;
inline constexpr ASIOIoFormatType kASIOPCMFormat = 0;
inline constexpr ASIOIoFormatType kASIODSDFormat = 1;

struct ASIOIoFormat {
    ASIOIoFormatType FormatType;
    char future[512 - sizeof(ASIOIoFormatType)];
};

// future() selectors used by this system; the I/O format ones answer ASE_SUCCESS when they succeed.
inline constexpr AsioLong kAsioSetIoFormat = 0x23111961;
inline constexpr AsioLong kAsioGetIoFormat = 0x23111983;
inline constexpr AsioLong kAsioCanDoIoFormat = 0x23112004;

} // namespace sonavel
