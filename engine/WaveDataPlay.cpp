#include "engine/WaveDataPlay.h"

#include "app/ErrorText.h"
#include "engine/PlayerMessages.h"
#include "output/AsioHost.h"
#include "platform/Tick.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace sonavel {

namespace {

std::atomic<CWaveDataPlay*> activeRenderer{nullptr};

constexpr int32_t kWatchdogStart = 40;
constexpr uint32_t kTimerPeriodMs = 50;
constexpr uint64_t kTimerMinGapMs = 25;
constexpr int kPrimedWaits = 10;
constexpr uint32_t kPrimedWaitMs = 10;
constexpr int kMaxDriverStarts = 2;
constexpr int kAtomicAttempts = 100;
constexpr int kFlushWaitMs = 1000;

const ASIOCallbacks kCallbacks = {
    &CWaveDataPlay::OnBufferSwitch,
    &CWaveDataPlay::OnSampleRateDidChange,
    &CWaveDataPlay::OnAsioMessage,
    &CWaveDataPlay::OnBufferSwitchTimeInfo,
};

} // namespace

CWaveDataPlay::CWaveDataPlay(std::shared_ptr<CAsioWrapperImpl> wrapper,
    std::shared_ptr<OutputSettingsStore> settings, ITrackSlotSource& slots, IRendererEvents& events)
    : wrapper_(std::move(wrapper)), settings_(std::move(settings)), slotSource_(slots), events_(events)
{
}

CWaveDataPlay::~CWaveDataPlay()
{
    StopOutput(true);
    ASIODisposeBuffers(wrapper_);
    CloseOutput();
    CWaveDataPlay* self = this;
    activeRenderer.compare_exchange_strong(self, nullptr);
}

void CWaveDataPlay::SetDeviceList(CDevNameInfo list)
{
    std::lock_guard guard(deviceListMutex_);
    deviceList_ = std::move(list);
}

int32_t CWaveDataPlay::OpenOutput(int32_t format, const std::u16string& name)
{
    CloseOutput();
    if (!LoadAsioDriverByName(wrapper_, name)) {
        return -2;
    }
    ASIODriverInfo info{};
    if (ASIOInit(wrapper_, &info) != ASE_OK) {
        return -2;
    }
    AsioLong inputs = 0;
    AsioLong outputs = 0;
    AsioLong minSize = 0;
    AsioLong maxSize = 0;
    AsioLong preferred = 0;
    AsioLong granularity = 0;
    if (ASIOGetChannels(wrapper_, &inputs, &outputs) != ASE_OK ||
        ASIOGetBufferSize(wrapper_, &minSize, &maxSize, &preferred, &granularity) != ASE_OK) {
        CloseOutput();
        return -2;
    }
    const bool postOutput = ASIOOutputReady(wrapper_) == ASE_OK;
    if (inputs <= 0 && outputs <= 0) {
        CloseOutput();
        return -2;
    }
    if (format == kOutputFormatNone) {
        format = std::max(currentFormat_.load(), kOutputFormatPcm);
    }
    ASIOIoFormat ioFormat{};
    ioFormat.FormatType = format == kOutputFormatNativeDsd ? kASIODSDFormat : kASIOPCMFormat;
    if (ASIOFuture(wrapper_, kAsioCanDoIoFormat, &ioFormat) == ASE_SUCCESS) {
        ASIOFuture(wrapper_, kAsioSetIoFormat, &ioFormat);
    }
    currentFormat_ = format;
    const double rate = sampleRate_;
    if (ASIOCanSampleRate(wrapper_, rate) != ASE_OK || ASIOSetSampleRate(wrapper_, rate) != ASE_OK) {
        CloseOutput();
        return -1;
    }
    const int buffers = std::min<int>(std::max<AsioLong>(outputs, 0), kMaxOutputChannels);
    std::array<ASIOBufferInfo, kMaxOutputChannels> infos{};
    for (int channel = 0; channel < buffers; ++channel) {
        infos[channel].isInput = ASIOFalse;
        infos[channel].channelNum = channel;
    }
    activeRenderer = this;
    if (ASIOGetBufferSize(wrapper_, &minSize, &maxSize, &preferred, &granularity) != ASE_OK ||
        ASIOCreateBuffers(wrapper_, infos.data(), buffers, preferred, &kCallbacks) != ASE_OK) {
        CloseOutput();
        return -2;
    }
    std::array<const SampleTypeRow*, kMaxOutputChannels> rows{};
    for (int channel = 0; channel < buffers; ++channel) {
        ASIOChannelInfo channelInfo{};
        channelInfo.channel = channel;
        channelInfo.isInput = ASIOFalse;
        if (ASIOGetChannelInfo(wrapper_, &channelInfo) != ASE_OK) {
            ASIODisposeBuffers(wrapper_);
            CloseOutput();
            return -2;
        }
        rows[channel] = FindSampleTypeRow(channelInfo.type);
        if (rows[channel] != nullptr) {
            const size_t bytes = size_t{rows[channel]->bits} * static_cast<size_t>(preferred) / 8;
            for (void* half : infos[channel].buffers) {
                if (half != nullptr) {
                    std::memset(half, 0, bytes);
                }
            }
        }
    }
    AsioLong inputLatency = 0;
    AsioLong outputLatency = 0;
    ASIOGetLatencies(wrapper_, &inputLatency, &outputLatency);
    {
        std::lock_guard guard(outputLock_);
        preferredSize_ = preferred;
        postOutput_ = postOutput;
        outputBuffers_ = buffers;
        bufferInfos_ = infos;
        typeRows_ = rows;
        opened_ = true;
    }
    currentRate_ = rate;
    return 0;
}

void CWaveDataPlay::CloseOutput()
{
    ASIOExit(wrapper_);
    {
        std::lock_guard guard(outputLock_);
        typeRows_ = {};
        bufferInfos_ = {};
        outputBuffers_ = 0;
        preferredSize_ = 0;
        opened_ = false;
    }
    currentRate_ = 0.0;
}

bool CWaveDataPlay::NativeDsdFor(int slot) const
{
    return nativeMode_ && slots_[slot].dsd;
}

void CWaveDataPlay::SetSlotFormat(uint32_t, uint32_t, bool prepareAhead, bool otherSlot, double rate, bool isDsd)
{
    // The other slot too is written under the lock: the buffer switch reads it to decide a
    // gapless switch and fills from it.
    std::lock_guard guard(outputLock_);
    const int current = renderSlot_;
    const int target = otherSlot ? 1 - current : current;
    Slot& slot = slots_[target];
    slot.dsd = isDsd;
    slot.prepareAhead = prepareAhead;
    const bool native = settings_->Get().decodeMode == kDecodeModeNativeDsd;
    nativeMode_ = native;
    slot.rate = isDsd ? rate * (native ? 32.0 : 2.0) : rate;
    for (Consumer& consumer : slot.consumers) {
        consumer = {};
    }
    slot.endCountdown = -1;
    slot.endKind = 0;
    feederWake_.Set();
}

void CWaveDataPlay::EmptyQueues(Slot& slot)
{
    std::lock_guard guard(queueLock_);
    for (ChunkQueue& queue : slot.queues) {
        queue.Clear();
    }
}

void CWaveDataPlay::ClearSlotQueues(int slot)
{
    EmptyQueues(slots_[slot & 1]);
}

void CWaveDataPlay::RequestFlush(int slot)
{
    // Waits until the feeder has dropped what it holds of the slot, so that nothing of the new
    // track loaded next is taken for the old one.
    std::unique_lock guard(flushMutex_);
    if (!feederRunning_) {
        return;
    }
    slots_[slot & 1].flushRequest = true;
    feederWake_.Set();
    flushServed_.wait_for(guard, std::chrono::milliseconds(kFlushWaitMs),
        [&] { return !slots_[slot & 1].flushRequest || !feederRunning_; });
}

void CWaveDataPlay::FillAllWithSilence(bool nativeDsd, bool dop)
{
    std::lock_guard guard(outputLock_);
    for (int channel = 0; channel < outputBuffers_; ++channel) {
        const SampleTypeRow* row = typeRows_[channel];
        if (row == nullptr) {
            continue;
        }
        const size_t bytes = size_t{row->bits} * static_cast<size_t>(preferredSize_) / 8;
        for (void* half : bufferInfos_[channel].buffers) {
            if (half != nullptr) {
                FillSilence(channel, dop, nativeDsd, static_cast<uint8_t*>(half), bytes);
            }
        }
    }
}

int32_t CWaveDataPlay::StartDriver(bool nativeDsd, bool dop)
{
    ASIOError result = ASE_NotPresent;
    for (int attempt = 0; attempt < kMaxDriverStarts; ++attempt) {
        result = ASIOStart(wrapper_);
        if (result != ASE_NotPresent) {
            break;
        }
        if (OpenOutput(currentFormat_, settings_->Get().deviceName) != 0) {
            break;
        }
        FillAllWithSilence(nativeDsd, dop);
    }
    if (result != ASE_OK && result != ASE_NotPresent) {
        events_.ReportError(DeviceErrorMessage(result));
    }
    return result == ASE_OK ? 0 : -1;
}

int32_t CWaveDataPlay::StartOutput(
    const MusicTrackInfo& entry, uint32_t bitsPerSample, bool startPaused, double rate)
{
    if (playing_) {
        StopOutput(true);
    }
    const OutputSettings settings = settings_->Get();
    nativeMode_ = settings.decodeMode == kDecodeModeNativeDsd;
    OpenOutput(kOutputFormatNone, settings.deviceName);
    const int slot = renderSlot_;
    const bool isDsd = slots_[slot].dsd;
    const bool nativeDsd = settings.decodeMode == kDecodeModeNativeDsd && isDsd;
    const bool dop = isDsd && !nativeDsd;
    const double deviceRate = nativeDsd ? rate * 32.0 : (dop ? rate * 2.0 : rate);
    const auto refuse = [&](uint32_t shownRate) {
        events_.ReportError(FormatNotSupportedMessage(isDsd, shownRate, entry.path));
        events_.PostToPlayer(WM_PLAYER_TRACK_END, 1, 0);
        return -1;
    };
    if (isDsd && ASIOIsWasapiSelected(wrapper_)) {
        return refuse(static_cast<uint32_t>(rate * 32.0));
    }
    {
        std::lock_guard guard(deviceListMutex_);
        for (int32_t index = 0; index < deviceList_.Count(); ++index) {
            if (deviceList_.Name(index) == settings.deviceName &&
                !IsRateAllowed(deviceList_, index, isDsd, nativeDsd, deviceRate)) {
                return refuse(static_cast<uint32_t>(deviceRate));
            }
        }
    }
    if (bitsPerSample < 8) {
        currentRate_ = 0.0;
        return refuse(static_cast<uint32_t>(deviceRate));
    }
    const int32_t neededFormat = nativeDsd ? kOutputFormatNativeDsd : kOutputFormatPcm;
    if (!opened_ || settings.ramMode != 0 || deviceRate != currentRate_ || neededFormat != currentFormat_) {
        sampleRate_ = deviceRate;
        const int32_t opened = OpenOutput(neededFormat, settings.deviceName);
        if (opened == -1) {
            return refuse(static_cast<uint32_t>(deviceRate));
        }
        if (opened != 0) {
            events_.ReportError(u"Playback device is not available");
            events_.PostToPlayer(WM_PLAYER_STOP, 0, 0);
            return opened;
        }
    }
    feederStop_.Reset();
    primed_ = false;
    {
        std::lock_guard guard(outputLock_);
        markerStates_ = {};
        dataConsumed_ = false;
    }
    {
        std::lock_guard guard(flushMutex_);
        feederRunning_ = true;
    }
    feederThread_ = std::thread([this] { FeederRun(); });
    FillAllWithSilence(nativeDsd, dop);
    if (startPaused) {
        playing_ = true;
        StartTimer();
        return 0;
    }
    for (int wait = 0; wait < kPrimedWaits && !primed_; ++wait) {
        feederStop_.Wait(kPrimedWaitMs);
    }
    if (StartDriver(nativeDsd, dop) != 0) {
        currentRate_ = 0.0;
        events_.PostToPlayer(WM_PLAYER_TRACK_END, 1, 0);
        return -1;
    }
    playing_ = true;
    StartTimer();
    return 0;
}

void CWaveDataPlay::StartTimer()
{
    watchdog_ = kWatchdogStart;
    lastTimerTick_ = 0;
    timer_.Start(kTimerPeriodMs, [this] { OnTimer(); });
}

void CWaveDataPlay::StopTimer()
{
    timer_.Stop();
}

void CWaveDataPlay::OnTimer()
{
    const uint64_t now = TickMs64();
    if (lastTimerTick_ != 0 && now - lastTimerTick_ < kTimerMinGapMs) {
        return;
    }
    lastTimerTick_ = now;
    int32_t value = watchdog_;
    for (int attempt = 0; attempt < kAtomicAttempts; ++attempt) {
        if (value <= 0) {
            return;
        }
        if (watchdog_.compare_exchange_weak(value, value - 1)) {
            if (value - 1 == 0) {
                // The driver stopped calling back.
                events_.PostToPlayer(WM_PLAYER_STOP, 0, 0);
                return;
            }
            break;
        }
    }
    const double rate = sampleRate_ != 0.0 ? sampleRate_.load() : 1.0;
    const auto seconds = static_cast<int64_t>(static_cast<double>(playedSamples_) / rate);
    if (seconds != lastReportedSeconds_.exchange(seconds)) {
        events_.ReportElapsed(static_cast<uint32_t>(seconds));
    }
}

int32_t CWaveDataPlay::PauseToggle()
{
    if (playing_) {
        StopTimer();
        watchdog_ = 0;
        ASIOStop(wrapper_);
        playing_ = false;
        return 2;
    }
    const int slot = renderSlot_;
    StartDriver(NativeDsdFor(slot), slots_[slot].dsd && !NativeDsdFor(slot));
    playing_ = true;
    StartTimer();
    return 1;
}

void CWaveDataPlay::StopOutput(bool keepDevice)
{
    StopTimer();
    watchdog_ = 0;
    if (playing_) {
        ASIOStop(wrapper_);
    }
    feederStop_.Set();
    feederWake_.Set();
    if (feederThread_.joinable()) {
        feederThread_.join();
    }
    feederStop_.Reset();
    if (!keepDevice && (ASIOGetSelectedFlags(wrapper_) & kWasapiFlagKeepOpen) == 0) {
        ASIODisposeBuffers(wrapper_);
        CloseOutput();
    }
    std::lock_guard guard(outputLock_);
    for (Slot& slot : slots_) {
        EmptyQueues(slot);
        for (Consumer& consumer : slot.consumers) {
            consumer = {};
        }
    }
    playing_ = false;
    playedSamples_ = 0;
    lastReportedSeconds_ = -1;
    if (!keepDevice) {
        renderSlot_ = 0;
    }
}

void CWaveDataPlay::SetPosition(uint32_t seconds)
{
    std::unique_lock guard(outputLock_);
    const double rate = sampleRate_;
    if (rate == 0.0) {
        return;
    }
    Slot& slot = slots_[renderSlot_];
    EmptyQueues(slot);
    for (Consumer& consumer : slot.consumers) {
        consumer = {};
    }
    playedSamples_ = static_cast<uint64_t>(seconds * rate);
    lastReportedSeconds_ = seconds;
    guard.unlock();
    events_.ReportElapsed(seconds);
}

void CWaveDataPlay::OnBufferSwitch(AsioLong index, ASIOBool)
{
    CWaveDataPlay* self = activeRenderer;
    if (self == nullptr) {
        return;
    }
    self->BufferSwitch(index);
}

void CWaveDataPlay::OnSampleRateDidChange(ASIOSampleRate)
{
}

AsioLong CWaveDataPlay::OnAsioMessage(AsioLong selector, AsioLong value, void*, double*)
{
    switch (selector) {
    case kAsioSelectorSupported:
        switch (value) {
        case kAsioEngineVersion:
        case kAsioResetRequest:
        case kAsioResyncRequest:
        case kAsioLatenciesChanged:
        case kAsioSupportsTimeInfo:
        case kAsioSupportsTimeCode:
        case kAsioSupportsInputMonitor:
            return 1;
        default:
            return 0;
        }
    case kAsioEngineVersion:
        return 2;
    case kAsioResetRequest:
    case kAsioResyncRequest:
    case kAsioLatenciesChanged:
    case kAsioSupportsTimeInfo:
        return 1;
    default:
        return 0;
    }
}

ASIOTime* CWaveDataPlay::OnBufferSwitchTimeInfo(ASIOTime* timeInfo, AsioLong index, ASIOBool)
{
    CWaveDataPlay* self = activeRenderer;
    if (self != nullptr && timeInfo != nullptr) {
        self->BufferSwitch(index);
    }
    return nullptr;
}

} // namespace sonavel
