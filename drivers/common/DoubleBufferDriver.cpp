#include "drivers/common/DoubleBufferDriver.h"

#include <algorithm>
#include <cstring>
#include <string>

#include <pthread.h>
#include <sched.h>

namespace sonavel {

namespace {

ASIOTimeStamp NowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Realtime scheduling needs a permission the process may lack; without it the thread stays normal.
void TryRealtimePriority()
{
    sched_param param{};
    param.sched_priority = sched_get_priority_min(SCHED_FIFO) + 10;
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &param);
}

// The driver whose callbacks run on this thread; the callback thread must not touch its own
// std::thread object, which the host thread owns.
thread_local const DoubleBufferDriver* callbackThreadOf = nullptr;

} // namespace

size_t HalfBufferBytes(int32_t type, AsioLong samples)
{
    const auto count = static_cast<size_t>(samples);
    switch (type) {
    case ASIOSTInt16MSB:
    case ASIOSTInt16LSB:
        return count * 2;
    case ASIOSTInt24MSB:
    case ASIOSTInt24LSB:
        return count * 3;
    case ASIOSTInt32MSB:
    case ASIOSTFloat32MSB:
    case ASIOSTInt32MSB16:
    case ASIOSTInt32MSB18:
    case ASIOSTInt32MSB20:
    case ASIOSTInt32MSB24:
    case ASIOSTInt32LSB:
    case ASIOSTFloat32LSB:
    case ASIOSTInt32LSB16:
    case ASIOSTInt32LSB18:
    case ASIOSTInt32LSB20:
    case ASIOSTInt32LSB24:
        return count * 4;
    case ASIOSTFloat64MSB:
    case ASIOSTFloat64LSB:
        return count * 8;
    case ASIOSTDSDInt8LSB1:
    case ASIOSTDSDInt8MSB1:
        return count / 8;
    case ASIOSTDSDInt8NER8:
        return count;
    default:
        return 0;
    }
}

ASIOError DoubleBufferDriver::createBuffers(
    ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize, const ASIOCallbacks* callbacks)
{
    if (bufferInfos == nullptr || callbacks == nullptr || callbacks->bufferSwitch == nullptr ||
        numChannels <= 0 || numChannels > OutputChannelCount() || !IsBufferSizeAllowed(bufferSize)) {
        return ASE_InvalidParameter;
    }
    for (AsioLong i = 0; i < numChannels; ++i) {
        const ASIOBufferInfo& info = bufferInfos[i];
        if (info.isInput != ASIOFalse || info.channelNum < 0 || info.channelNum >= OutputChannelCount()) {
            return ASE_InvalidParameter;
        }
    }
    disposeBuffers();
    if (const ASIOError prepared = PrepareStream(numChannels, bufferSize); prepared != ASE_OK) {
        return prepared;
    }
    channels_.resize(static_cast<size_t>(numChannels));
    for (AsioLong i = 0; i < numChannels; ++i) {
        ChannelBuffers& channel = channels_[static_cast<size_t>(i)];
        channel.number = bufferInfos[i].channelNum;
        const size_t bytes = HalfBufferBytes(ChannelType(channel.number), bufferSize);
        for (int half = 0; half < 2; ++half) {
            channel.halves[half].assign(bytes, 0);
            bufferInfos[i].buffers[half] = channel.halves[half].data();
        }
    }
    bufferSize_ = bufferSize;
    callbacks_ = *callbacks;
    useTimeInfo_ = callbacks_.bufferSwitchTimeInfo != nullptr && callbacks_.asioMessage != nullptr &&
        callbacks_.asioMessage(kAsioSelectorSupported, kAsioSupportsTimeInfo, nullptr, nullptr) != 0 &&
        callbacks_.asioMessage(kAsioSupportsTimeInfo, 0, nullptr, nullptr) != 0;
    return ASE_OK;
}

ASIOError DoubleBufferDriver::disposeBuffers()
{
    if (channels_.empty()) {
        return ASE_InvalidMode;
    }
    stop();
    ReleaseStream();
    channels_.clear();
    bufferSize_ = 0;
    callbacks_ = {};
    return ASE_OK;
}

ASIOError DoubleBufferDriver::start()
{
    if (channels_.empty()) {
        return ASE_InvalidMode;
    }
    if (running_ && !stopRequested_) {
        return ASE_OK;
    }
    JoinThread();
    if (const ASIOError started = StartStream(); started != ASE_OK) {
        return started;
    }
    {
        std::lock_guard lock(positionMutex_);
        samplePosition_ = 0;
        timeStamp_ = NowNanoseconds();
    }
    stopRequested_ = false;
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    return ASE_OK;
}

ASIOError DoubleBufferDriver::stop()
{
    {
        std::lock_guard lock(waitMutex_);
        stopRequested_ = true;
    }
    waitCondition_.notify_all();
    // A host may stop from inside bufferSwitch: the thread then ends by itself and is joined later.
    if (callbackThreadOf == this) {
        return ASE_OK;
    }
    const bool wasStarted = thread_.joinable();
    JoinThread();
    if (wasStarted) {
        StopStream();
    }
    return ASE_OK;
}

void DoubleBufferDriver::JoinThread()
{
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = false;
}

void DoubleBufferDriver::Shutdown()
{
    disposeBuffers();
    JoinThread();
}

ASIOError DoubleBufferDriver::outputReady()
{
    outputReadyCalled_ = true;
    return ASE_OK;
}

ASIOError DoubleBufferDriver::getSamplePosition(ASIOSamples* sPos, ASIOTimeStamp* tStamp)
{
    if (sPos == nullptr || tStamp == nullptr) {
        return ASE_InvalidParameter;
    }
    std::lock_guard lock(positionMutex_);
    *sPos = samplePosition_;
    *tStamp = timeStamp_;
    return ASE_OK;
}

bool DoubleBufferDriver::WaitUntil(std::chrono::steady_clock::time_point time)
{
    std::unique_lock lock(waitMutex_);
    return !waitCondition_.wait_until(lock, time, [this] { return stopRequested_.load(); });
}

void DoubleBufferDriver::SwitchTo(int half)
{
    outputReadyCalled_ = false;
    if (useTimeInfo_) {
        ASIOSampleRate rate = 0;
        getSampleRate(&rate);
        {
            std::lock_guard lock(positionMutex_);
            timeInfo_.timeInfo.samplePosition = samplePosition_;
            timeInfo_.timeInfo.systemTime = timeStamp_;
        }
        timeInfo_.timeInfo.sampleRate = rate;
        timeInfo_.timeInfo.speed = 1.0;
        timeInfo_.timeInfo.flags = kSystemTimeValid | kSamplePositionValid | kSampleRateValid;
        callbacks_.bufferSwitchTimeInfo(&timeInfo_, half, ASIOTrue);
    } else {
        callbacks_.bufferSwitch(half, ASIOTrue);
    }
    std::lock_guard lock(positionMutex_);
    samplePosition_ += bufferSize_;
    timeStamp_ = NowNanoseconds();
}

void DoubleBufferDriver::Run()
{
    callbackThreadOf = this;
    if (realtimeThread_) {
        TryRealtimePriority();
    }
    int half = 0;
    std::optional<int> pending;
    while (!stopRequested_) {
        if (!AwaitPeriod()) {
            break;
        }
        if (pending) {
            const int filled = *pending;
            pending.reset();
            if (!Deliver(filled)) {
                break;
            }
        }
        SwitchTo(half);
        if (outputReadyCalled_) {
            if (!Deliver(half)) {
                break;
            }
        } else {
            pending = half;
        }
        half = 1 - half;
    }
    if (pending) {
        DeliverAtStop(*pending);
    }
    running_ = false;
}

void CopyFieldText(char* field, size_t size, std::string_view text)
{
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

ASIOError DoubleBufferDriver::FillChannelInfo(ASIOChannelInfo* info) const
{
    if (info == nullptr || info->isInput != ASIOFalse || info->channel < 0 ||
        info->channel >= OutputChannelCount()) {
        return ASE_InvalidParameter;
    }
    info->isActive = ASIOFalse;
    for (size_t buffer = 0; buffer < BufferCount(); ++buffer) {
        if (ChannelNumber(buffer) == info->channel) {
            info->isActive = ASIOTrue;
        }
    }
    info->channelGroup = 0;
    info->type = ChannelType(info->channel);
    CopyFieldText(info->name, sizeof(info->name), "Out " + std::to_string(info->channel + 1));
    return ASE_OK;
}

ASIOError DoubleBufferDriver::getClockSources(ASIOClockSource* clocks, AsioLong* numSources)
{
    if (clocks == nullptr || numSources == nullptr || *numSources < 1) {
        return ASE_InvalidParameter;
    }
    *clocks = {};
    clocks->associatedChannel = -1;
    clocks->associatedGroup = -1;
    clocks->isCurrentSource = ASIOTrue;
    CopyFieldText(clocks->name, sizeof(clocks->name), "Internal");
    *numSources = 1;
    return ASE_OK;
}

ASIOError DoubleBufferDriver::setClockSource(AsioLong reference)
{
    return reference == 0 ? ASE_OK : ASE_InvalidParameter;
}

} // namespace sonavel
