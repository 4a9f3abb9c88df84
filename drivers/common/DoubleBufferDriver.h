#pragma once

#include "output/AsioDriver.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <vector>

namespace sonavel {

// Bytes of one half buffer of `samples` samples of an ASIO sample type; 0 for an unknown type.
size_t HalfBufferBytes(int32_t type, AsioLong samples);

// Copies a text into a fixed field of a driver record, cut to fit and zero-terminated.
void CopyFieldText(char* field, size_t size, std::string_view text);

// The part every output driver module shares: the two half buffers per output channel, the
// callback thread with its buffer-switch protocol, outputReady, and the sample position.
//
// The callback thread runs: wait for the device's next period; hand over the half the host filled
// last time if it never called outputReady; call bufferSwitch for the other half; hand that half
// over at once when the host called outputReady during the switch. Every half the host filled is
// handed over exactly once while the stream runs.
//
// A subclass must call Shutdown() in its destructor, before its own members go.
class DoubleBufferDriver : public IAsioDriver {
public:
    ASIOError start() override;
    ASIOError stop() override;
    ASIOError getSamplePosition(ASIOSamples* sPos, ASIOTimeStamp* tStamp) override;
    ASIOError createBuffers(ASIOBufferInfo* bufferInfos, AsioLong numChannels, AsioLong bufferSize,
        const ASIOCallbacks* callbacks) override;
    ASIOError disposeBuffers() override;
    ASIOError outputReady() override;
    // One internal clock.
    ASIOError getClockSources(ASIOClockSource* clocks, AsioLong* numSources) override;
    ASIOError setClockSource(AsioLong reference) override;

protected:
    explicit DoubleBufferDriver(bool realtimeThread) : realtimeThread_(realtimeThread) { }

    void Shutdown();

    // The device's side, each called on the thread named.
    virtual AsioLong OutputChannelCount() const = 0;
    virtual bool IsBufferSizeAllowed(AsioLong bufferSize) const = 0;
    virtual int32_t ChannelType(AsioLong channel) const = 0;
    // createBuffers: get the device ready for buffers of this many channels and samples.
    virtual ASIOError PrepareStream(AsioLong numChannels, AsioLong bufferSize) = 0;
    // disposeBuffers.
    virtual void ReleaseStream() = 0;
    // start, before the callback thread runs.
    virtual ASIOError StartStream() = 0;
    // stop, after the callback thread ended.
    virtual void StopStream() = 0;
    // Callback thread: block until the device wants the next half; false ends the callbacks.
    virtual bool AwaitPeriod() = 0;
    // Callback thread: the half is final; false (the device went away) ends the callbacks.
    virtual bool Deliver(int half) = 0;
    // Callback thread, at a stop: a half the host filled but that was not handed over yet.
    virtual void DeliverAtStop(int /*half*/) { }

    // Answers getChannelInfo for an output channel: active when it has buffers, named "Out N".
    ASIOError FillChannelInfo(ASIOChannelInfo* info) const;
    // Waits until the time or until a stop is asked; false when stopping.
    bool WaitUntil(std::chrono::steady_clock::time_point time);
    bool StopRequested() const { return stopRequested_; }
    AsioLong BufferSize() const { return bufferSize_; }
    size_t BufferCount() const { return channels_.size(); }
    AsioLong ChannelNumber(size_t buffer) const { return channels_[buffer].number; }
    std::span<const uint8_t> Half(size_t buffer, int half) const { return channels_[buffer].halves[half]; }

private:
    struct ChannelBuffers {
        AsioLong number = 0;
        std::vector<uint8_t> halves[2];
    };

    void Run();
    void SwitchTo(int half);
    void JoinThread();

    const bool realtimeThread_;
    std::vector<ChannelBuffers> channels_;
    AsioLong bufferSize_ = 0;
    ASIOCallbacks callbacks_{};
    bool useTimeInfo_ = false;
    ASIOTime timeInfo_{};

    std::thread thread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> outputReadyCalled_{false};
    std::mutex waitMutex_;
    std::condition_variable waitCondition_;

    mutable std::mutex positionMutex_;
    ASIOSamples samplePosition_ = 0;
    ASIOTimeStamp timeStamp_ = 0;
};

} // namespace sonavel
