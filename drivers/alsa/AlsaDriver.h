#pragma once

#include "drivers/alsa/AlsaFormats.h"
#include "drivers/common/DoubleBufferDriver.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace sonavel {

// An ALSA card as an output driver: the hw device opened alone and without conversion, the card's
// own sample formats shown as ASIO sample types, native DSD through ALSA's DSD formats. Pacing
// comes from the card: the callback thread blocks in the write of each half.
class AlsaDriver final : public DoubleBufferDriver {
public:
    explicit AlsaDriver(std::string device);
    ~AlsaDriver() override;

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
    AsioLong OutputChannelCount() const override;
    bool IsBufferSizeAllowed(AsioLong bufferSize) const override;
    int32_t ChannelType(AsioLong channel) const override;
    ASIOError PrepareStream(AsioLong numChannels, AsioLong bufferSize) override;
    void ReleaseStream() override;
    ASIOError StartStream() override;
    void StopStream() override;
    bool AwaitPeriod() override;
    bool Deliver(int half) override;

    const AlsaSampleFormat* CurrentFormat() const;
    // Whether the card takes this format at this many ALSA frames per second.
    bool TakesRate(const AlsaSampleFormat& format, double frameRate) const;
    bool WriteFrames(const uint8_t* data, size_t frames);

    std::string device_;
    snd_pcm_t* pcm_ = nullptr;
    std::string errorMessage_;
    std::optional<AlsaSampleFormat> pcmFormat_;
    std::optional<AlsaSampleFormat> dsdFormat_;
    unsigned int minChannels_ = 0;
    unsigned int maxChannels_ = 0;
    // The callback thread reads the rate for the time info while the host may ask for it.
    std::atomic<ASIOSampleRate> sampleRate_{44100};
    ASIOIoFormatType ioFormat_ = kASIOPCMFormat;

    // Fixed while buffers exist.
    AlsaSampleFormat streamFormat_{};
    unsigned int cardChannels_ = 0;
    size_t halfFrames_ = 0;
    std::vector<const uint8_t*> cardHalves_;
    std::vector<uint8_t> interleaved_;
    std::atomic<bool> gone_{false};
};

} // namespace sonavel
