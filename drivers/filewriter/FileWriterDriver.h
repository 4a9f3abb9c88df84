#pragma once

#include "drivers/common/DoubleBufferDriver.h"
#include "drivers/filewriter/FileWriterSettings.h"
#include "drivers/filewriter/SampleFile.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace sonavel {

// A sound card that writes what it plays. Its clock runs at the rate times the speed factor; each
// start at a new rate or format, and each new instance, begins the next file of the sequence.
class FileWriterDriver final : public DoubleBufferDriver {
public:
    explicit FileWriterDriver(FileWriterSettings settings);
    ~FileWriterDriver() override;

    ASIOBool init(void* sysHandle) override;
    void getDriverName(char* name) override;
    AsioLong getDriverVersion() override;
    void getErrorMessage(char* string) override;
    ASIOError getChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels) override;
    ASIOError getLatencies(AsioLong* inputLatency, AsioLong* outputLatency) override;
    ASIOError getBufferSize(
        AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity) override;
    ASIOError canSampleRate(ASIOSampleRate sampleRate) override;
    ASIOError getSampleRate(ASIOSampleRate* sampleRate) override;
    ASIOError setSampleRate(ASIOSampleRate sampleRate) override;
    ASIOError getChannelInfo(ASIOChannelInfo* info) override;
    ASIOError controlPanel() override;
    ASIOError future(AsioLong selector, void* opt) override;

private:
    AsioLong OutputChannelCount() const override { return settings_.channels; }
    bool IsBufferSizeAllowed(AsioLong bufferSize) const override;
    int32_t ChannelType(AsioLong channel) const override;
    ASIOError PrepareStream(AsioLong numChannels, AsioLong bufferSize) override;
    void ReleaseStream() override;
    ASIOError StartStream() override;
    void StopStream() override;
    bool AwaitPeriod() override;
    bool Deliver(int half) override;
    void DeliverAtStop(int half) override;

    FileWriterSettings settings_;
    // The callback thread reads the rate for the time info while the host may ask for it.
    std::atomic<ASIOSampleRate> sampleRate_;
    ASIOIoFormatType ioFormat_ = kASIOPCMFormat;
    std::string errorMessage_;
    std::atomic<bool> writeFailed_{false};
    std::chrono::steady_clock::duration period_{};
    SampleFileFormat streamFormat_{};
    std::unique_ptr<SampleFile> file_;
    std::chrono::steady_clock::time_point deadline_;
};

} // namespace sonavel
