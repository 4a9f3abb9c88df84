#include "drivers/alsa/AlsaDriver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace sonavel {

namespace {

// The host drives at most eight channels.
constexpr unsigned int kMaxChannels = 8;
constexpr AsioLong kPreferredFrames = 1024;
constexpr AsioLong kMinFrames = 16;
constexpr AsioLong kMaxFrames = 1 << 16;
// DSD buffer sizes count bits: a multiple of the widest word keeps every ALSA frame whole.
constexpr AsioLong kDsdSamplesPerWord = 32;

struct HwParamsDeleter {
    void operator()(snd_pcm_hw_params_t* params) const { snd_pcm_hw_params_free(params); }
};
using HwParams = std::unique_ptr<snd_pcm_hw_params_t, HwParamsDeleter>;

struct SwParamsDeleter {
    void operator()(snd_pcm_sw_params_t* params) const { snd_pcm_sw_params_free(params); }
};

// The full configuration space without any conversion by ALSA.
HwParams BitPerfectSpace(snd_pcm_t* pcm)
{
    snd_pcm_hw_params_t* raw = nullptr;
    if (snd_pcm_hw_params_malloc(&raw) < 0) {
        return nullptr;
    }
    HwParams params(raw);
    if (snd_pcm_hw_params_any(pcm, raw) < 0 || snd_pcm_hw_params_set_rate_resample(pcm, raw, 0) < 0 ||
        snd_pcm_hw_params_set_access(pcm, raw, SND_PCM_ACCESS_RW_INTERLEAVED) < 0) {
        return nullptr;
    }
    return params;
}

bool IsWholeRate(double rate)
{
    return rate > 0 && rate < 4.0e9 && std::floor(rate) == rate;
}

} // namespace

AlsaDriver::AlsaDriver(std::string device) : DoubleBufferDriver(true), device_(std::move(device)) { }

AlsaDriver::~AlsaDriver()
{
    Shutdown();
    if (pcm_ != nullptr) {
        snd_pcm_close(pcm_);
    }
}

ASIOBool AlsaDriver::init(void*)
{
    if (pcm_ != nullptr) {
        return ASIOTrue;
    }
    if (const int error = snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, 0); error < 0) {
        pcm_ = nullptr;
        errorMessage_ = "cannot open " + device_ + ": " + snd_strerror(error);
        return ASIOFalse;
    }
    const HwParams space = BitPerfectSpace(pcm_);
    if (space) {
        for (const auto& format : PcmFormatCandidates()) {
            if (!pcmFormat_ && snd_pcm_hw_params_test_format(pcm_, space.get(), format.format) == 0) {
                pcmFormat_ = format;
            }
        }
        for (const auto& format : DsdFormatCandidates()) {
            if (!dsdFormat_ && snd_pcm_hw_params_test_format(pcm_, space.get(), format.format) == 0) {
                dsdFormat_ = format;
            }
        }
        snd_pcm_hw_params_get_channels_min(space.get(), &minChannels_);
        snd_pcm_hw_params_get_channels_max(space.get(), &maxChannels_);
    }
    if (!pcmFormat_ && !dsdFormat_) {
        errorMessage_ = device_ + " plays none of the supported sample formats";
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
        return ASIOFalse;
    }
    return ASIOTrue;
}

void AlsaDriver::getDriverName(char* name)
{
    CopyFieldText(name, 32, device_);
}

AsioLong AlsaDriver::getDriverVersion()
{
    return 1;
}

void AlsaDriver::getErrorMessage(char* string)
{
    CopyFieldText(string, 124, errorMessage_);
}

AsioLong AlsaDriver::OutputChannelCount() const
{
    return static_cast<AsioLong>(std::min(maxChannels_, kMaxChannels));
}

ASIOError AlsaDriver::getChannels(AsioLong* numInputChannels, AsioLong* numOutputChannels)
{
    if (pcm_ == nullptr) {
        return ASE_NotPresent;
    }
    *numInputChannels = 0;
    *numOutputChannels = OutputChannelCount();
    return ASE_OK;
}

ASIOError AlsaDriver::getLatencies(AsioLong* inputLatency, AsioLong* outputLatency)
{
    if (pcm_ == nullptr) {
        return ASE_NotPresent;
    }
    *inputLatency = 0;
    *outputLatency = static_cast<AsioLong>(halfFrames_ * 2) *
        (CurrentFormat() ? CurrentFormat()->AsioSamplesPerFrame() : 1);
    return ASE_OK;
}

ASIOError AlsaDriver::getBufferSize(
    AsioLong* minSize, AsioLong* maxSize, AsioLong* preferredSize, AsioLong* granularity)
{
    if (pcm_ == nullptr) {
        return ASE_NotPresent;
    }
    const AsioLong factor = ioFormat_ == kASIODSDFormat ? kDsdSamplesPerWord : 1;
    *minSize = kMinFrames * factor;
    *maxSize = kMaxFrames * factor;
    *preferredSize = kPreferredFrames * factor;
    *granularity = factor;
    return ASE_OK;
}

bool AlsaDriver::IsBufferSizeAllowed(AsioLong bufferSize) const
{
    const AsioLong factor = ioFormat_ == kASIODSDFormat ? kDsdSamplesPerWord : 1;
    return bufferSize % factor == 0 && bufferSize >= kMinFrames * factor && bufferSize <= kMaxFrames * factor;
}

const AlsaSampleFormat* AlsaDriver::CurrentFormat() const
{
    const auto& format = ioFormat_ == kASIODSDFormat ? dsdFormat_ : pcmFormat_;
    return format ? &*format : nullptr;
}

bool AlsaDriver::TakesRate(const AlsaSampleFormat& format, double frameRate) const
{
    const HwParams space = BitPerfectSpace(pcm_);
    return space && IsWholeRate(frameRate) &&
        snd_pcm_hw_params_set_format(pcm_, space.get(), format.format) == 0 &&
        snd_pcm_hw_params_test_rate(pcm_, space.get(), static_cast<unsigned int>(frameRate), 0) == 0;
}

ASIOError AlsaDriver::canSampleRate(ASIOSampleRate sampleRate)
{
    const AlsaSampleFormat* format = CurrentFormat();
    if (pcm_ == nullptr || format == nullptr) {
        return ASE_NotPresent;
    }
    return TakesRate(*format, sampleRate / format->AsioSamplesPerFrame()) ? ASE_OK : ASE_NoClock;
}

ASIOError AlsaDriver::getSampleRate(ASIOSampleRate* sampleRate)
{
    *sampleRate = sampleRate_;
    return ASE_OK;
}

ASIOError AlsaDriver::setSampleRate(ASIOSampleRate sampleRate)
{
    if (const ASIOError result = canSampleRate(sampleRate); result != ASE_OK) {
        return result;
    }
    sampleRate_ = sampleRate;
    return ASE_OK;
}

int32_t AlsaDriver::ChannelType(AsioLong) const
{
    const AlsaSampleFormat* format = CurrentFormat();
    return format != nullptr ? format->asioType : ASIOSTInt32LSB;
}

ASIOError AlsaDriver::getChannelInfo(ASIOChannelInfo* info)
{
    if (pcm_ == nullptr) {
        return ASE_NotPresent;
    }
    return FillChannelInfo(info);
}

ASIOError AlsaDriver::controlPanel()
{
    return ASE_NotPresent;
}

ASIOError AlsaDriver::future(AsioLong selector, void* opt)
{
    auto* format = static_cast<ASIOIoFormat*>(opt);
    const auto playable = [this](ASIOIoFormatType type) {
        return (type == kASIOPCMFormat && pcmFormat_) || (type == kASIODSDFormat && dsdFormat_);
    };
    switch (selector) {
    case kAsioCanDoIoFormat:
        return format != nullptr && playable(format->FormatType) ? ASE_SUCCESS : ASE_NotPresent;
    case kAsioSetIoFormat:
        if (format == nullptr || !playable(format->FormatType)) {
            return ASE_NotPresent;
        }
        ioFormat_ = format->FormatType;
        return ASE_SUCCESS;
    case kAsioGetIoFormat:
        if (format == nullptr) {
            return ASE_InvalidParameter;
        }
        format->FormatType = ioFormat_;
        return ASE_SUCCESS;
    default:
        return ASE_InvalidParameter;
    }
}

ASIOError AlsaDriver::PrepareStream(AsioLong numChannels, AsioLong bufferSize)
{
    const AlsaSampleFormat* format = CurrentFormat();
    if (pcm_ == nullptr || format == nullptr) {
        return ASE_NotPresent;
    }
    const double frameRate = sampleRate_ / format->AsioSamplesPerFrame();
    const HwParams params = BitPerfectSpace(pcm_);
    cardChannels_ = std::max(static_cast<unsigned int>(numChannels), minChannels_);
    halfFrames_ = static_cast<size_t>(bufferSize) / format->AsioSamplesPerFrame();
    snd_pcm_uframes_t period = halfFrames_;
    snd_pcm_uframes_t buffer = halfFrames_ * 2;
    if (!params || !IsWholeRate(frameRate) ||
        snd_pcm_hw_params_set_format(pcm_, params.get(), format->format) < 0 ||
        snd_pcm_hw_params_set_channels(pcm_, params.get(), cardChannels_) < 0 ||
        snd_pcm_hw_params_set_rate(pcm_, params.get(), static_cast<unsigned int>(frameRate), 0) < 0) {
        errorMessage_ = "the card refuses this format, channel count or rate";
        return ASE_NoClock;
    }
    snd_pcm_hw_params_set_period_size_near(pcm_, params.get(), &period, nullptr);
    snd_pcm_hw_params_set_buffer_size_near(pcm_, params.get(), &buffer);
    if (const int error = snd_pcm_hw_params(pcm_, params.get()); error < 0) {
        errorMessage_ = std::string("cannot configure the card: ") + snd_strerror(error);
        return ASE_HWMalfunction;
    }
    snd_pcm_sw_params_t* rawSw = nullptr;
    if (snd_pcm_sw_params_malloc(&rawSw) == 0) {
        const std::unique_ptr<snd_pcm_sw_params_t, SwParamsDeleter> sw(rawSw);
        snd_pcm_uframes_t ringSize = 0;
        snd_pcm_hw_params_get_buffer_size(params.get(), &ringSize);
        // Start once both halves are queued, so the first switch does not run dry.
        if (snd_pcm_sw_params_current(pcm_, rawSw) == 0) {
            snd_pcm_sw_params_set_start_threshold(
                pcm_, rawSw, std::min<snd_pcm_uframes_t>(ringSize, halfFrames_ * 2));
            snd_pcm_sw_params_set_avail_min(pcm_, rawSw, halfFrames_);
            snd_pcm_sw_params(pcm_, rawSw);
        }
    }
    streamFormat_ = *format;
    cardHalves_.assign(cardChannels_, nullptr);
    interleaved_.assign(halfFrames_ * cardChannels_ * format->bytesPerChannelFrame, 0);
    return ASE_OK;
}

void AlsaDriver::ReleaseStream()
{
    if (pcm_ != nullptr) {
        snd_pcm_hw_free(pcm_);
    }
    cardHalves_.clear();
    interleaved_.clear();
    halfFrames_ = 0;
}

ASIOError AlsaDriver::StartStream()
{
    gone_ = false;
    if (const int error = snd_pcm_prepare(pcm_); error < 0) {
        errorMessage_ = std::string("cannot start the card: ") + snd_strerror(error);
        return error == -ENODEV ? ASE_NotPresent : ASE_HWMalfunction;
    }
    return ASE_OK;
}

void AlsaDriver::StopStream()
{
    snd_pcm_drop(pcm_);
}

bool AlsaDriver::AwaitPeriod()
{
    return !StopRequested() && !gone_ && snd_pcm_state(pcm_) != SND_PCM_STATE_DISCONNECTED;
}

bool AlsaDriver::Deliver(int half)
{
    std::fill(cardHalves_.begin(), cardHalves_.end(), nullptr);
    for (size_t buffer = 0; buffer < BufferCount(); ++buffer) {
        cardHalves_[static_cast<size_t>(ChannelNumber(buffer))] = Half(buffer, half).data();
    }
    InterleaveForCard(streamFormat_, cardHalves_, halfFrames_, interleaved_);
    return WriteFrames(interleaved_.data(), halfFrames_);
}

bool AlsaDriver::WriteFrames(const uint8_t* data, size_t frames)
{
    const size_t frameBytes = interleaved_.size() / std::max<size_t>(halfFrames_, 1);
    while (frames > 0 && !StopRequested()) {
        const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, data, frames);
        if (written == -EPIPE || written == -ESTRPIPE || written == -EINTR) {
            // An underrun or a suspend: recover and go on with the rest of the half.
            if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) {
                gone_ = true;
                return false;
            }
            continue;
        }
        if (written < 0) {
            // The card went away (ENODEV) or broke: stop calling back so the host notices.
            gone_ = true;
            return false;
        }
        data += static_cast<size_t>(written) * frameBytes;
        frames -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace sonavel
