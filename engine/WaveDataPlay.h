#pragma once

#include "engine/ChunkPool.h"
#include "engine/ChunkQueue.h"
#include "engine/OutputSettings.h"
#include "engine/RendererHost.h"
#include "engine/SampleConversion.h"
#include "output/AsioTypes.h"
#include "output/DevNameInfo.h"
#include "platform/Event.h"
#include "platform/PeriodicTimer.h"
#include "sources/MusicTypes.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace sonavel {

class CAsioWrapperImpl;

inline constexpr int kMaxOutputChannels = 8;
inline constexpr int32_t kOutputFormatNone = -1;
inline constexpr int32_t kOutputFormatPcm = 0;
inline constexpr int32_t kOutputFormatNativeDsd = 1;

// The output renderer: opens the device at the track's rate, runs the feeder thread that turns
// decoded frames into per-channel chunk queues, fills the driver's half buffers in the buffer
// switch, switches to the prepared slot at a track's end, and watches the driver with a 50 ms
// timer. Driver callbacks carry no context, so one renderer at a time is the active one.
//
// Locks: outputLock guards slot formats, the consumer's chunks, the driver's buffer record and the
// switch of renderSlot; queueLock guards the chunk queues; taken in that order.
class CWaveDataPlay {
public:
    CWaveDataPlay(std::shared_ptr<CAsioWrapperImpl> wrapper, std::shared_ptr<OutputSettingsStore> settings,
        ITrackSlotSource& slots, IRendererEvents& events);
    CWaveDataPlay(const CWaveDataPlay&) = delete;
    CWaveDataPlay& operator=(const CWaveDataPlay&) = delete;
    ~CWaveDataPlay();

    // The device list whose read times and rate profiles apply; empty by default.
    void SetDeviceList(CDevNameInfo list);

    // format: kOutputFormatPcm, kOutputFormatNativeDsd, or -1 for the current one.
    // 0, -1 rate or format refused, -2 driver unusable.
    int32_t OpenOutput(int32_t format, const std::u16string& name);
    void CloseOutput();
    // Channels and block align come with the call as the playback thread has them; the feeder
    // reads both from the slot's own format.
    void SetSlotFormat(uint32_t channels, uint32_t blockAlign, bool prepareAhead, bool otherSlot, double rate,
        bool isDsd);
    // 0 started; -1 refused or failed (the track end or stop message is posted).
    int32_t StartOutput(const MusicTrackInfo& entry, uint32_t bitsPerSample, bool startPaused, double rate);
    // 2 paused, 1 playing.
    int32_t PauseToggle();
    void StopOutput(bool keepDevice);
    void SetPosition(uint32_t seconds);
    void RequestFlush(int slot);
    void ClearSlotQueues(int slot);

    bool IsPlaying() const { return playing_; }
    bool IsOpened() const { return opened_; }
    double SampleRate() const { return sampleRate_; }
    uint64_t PlayedSamples() const { return playedSamples_; }
    int32_t CurrentFormat() const { return currentFormat_; }
    // Buffer switches that found a queue empty while data was due, outside the lead-in.
    uint64_t Underruns() const { return underruns_; }
    // Samples written to the last output channel from the queues (lead-ins included) since the
    // renderer was made.
    uint64_t DeliveredSamples() const { return deliveredSamples_; }

    // The driver callbacks.
    static void OnBufferSwitch(AsioLong index, ASIOBool processNow);
    static void OnSampleRateDidChange(ASIOSampleRate rate);
    static AsioLong OnAsioMessage(AsioLong selector, AsioLong value, void* message, double* opt);
    static ASIOTime* OnBufferSwitchTimeInfo(ASIOTime* timeInfo, AsioLong index, ASIOBool processNow);

private:
    struct Consumer {
        ChunkWords words;
        uint32_t offsetWords = 0;
        uint32_t remainingWords = 0;
    };
    struct Slot {
        std::atomic<bool> dsd{false};
        std::atomic<bool> prepareAhead{false};
        std::atomic<double> rate{0.0};
        int32_t endCountdown = -1;
        uint32_t endKind = 0;
        std::array<Consumer, kMaxOutputChannels> consumers;
        std::array<ChunkQueue, kMaxOutputChannels> queues;
        std::atomic<bool> flushRequest{false};
    };

    void BufferSwitch(AsioLong index) noexcept;
    // Converts queued words of one channel into `target` from `slot`, DoP words under the channel's
    // continuing markers; returns the bytes written.
    size_t FillFromQueue(Slot& slot, int channel, const SampleTypeRow& row, bool dop, uint8_t* target,
        size_t bytes, bool& endMet) noexcept;
    void FillSilence(int channel, bool dop, bool nativeDsd, uint8_t* target, size_t bytes) noexcept;
    bool SlotStarving(const Slot& slot) const noexcept;
    bool Switchable(int other) const noexcept;
    void FillAllWithSilence(bool nativeDsd, bool dop);
    void EmptyQueues(Slot& slot);

    void FeederRun();
    // fullWaitMs: how long to idle while the slot's queues are full.
    bool PushChunks(int slot, int channels, std::array<ChunkWords, kMaxOutputChannels>& chunks, uint32_t bytes,
        bool endMarker, uint32_t fullWaitMs);
    bool ServeFlushRequests(int& slot, bool& formatLoaded);

    int32_t StartDriver(bool nativeDsd, bool dop);
    void StartTimer();
    void StopTimer();
    void OnTimer();
    void RefreshWatchdog() noexcept;
    bool NativeDsdFor(int slot) const;

    std::shared_ptr<CAsioWrapperImpl> wrapper_;
    std::shared_ptr<OutputSettingsStore> settings_;
    ITrackSlotSource& slotSource_;
    IRendererEvents& events_;
    std::mutex deviceListMutex_;
    CDevNameInfo deviceList_;

    std::mutex outputLock_;
    std::mutex queueLock_;

    // The driver record's buffer part; written only while no callback runs, read under outputLock.
    AsioLong preferredSize_ = 0;
    int outputBuffers_ = 0;
    bool postOutput_ = false;
    std::array<ASIOBufferInfo, kMaxOutputChannels> bufferInfos_{};
    std::array<const SampleTypeRow*, kMaxOutputChannels> typeRows_{};
    // Per output channel, under outputLock: the DoP marker state of the next word the driver is
    // given, data and silence alike.
    std::array<uint32_t, kMaxOutputChannels> markerStates_{};

    // DecodeMode native, as last read from the settings; the callback must not copy the settings.
    std::atomic<bool> nativeMode_{false};
    std::atomic<bool> opened_{false};
    std::atomic<double> sampleRate_{44100.0};
    std::atomic<double> currentRate_{-1.0};
    std::atomic<int32_t> currentFormat_{kOutputFormatNone};

    std::array<Slot, 2> slots_;
    std::atomic<int> renderSlot_{0};
    std::atomic<uint64_t> playedSamples_{0};
    std::atomic<bool> playing_{false};
    std::atomic<bool> primed_{false};
    // Set by the first buffer switch that took data since the start; underruns count after it.
    bool dataConsumed_ = false;
    std::atomic<uint64_t> underruns_{0};
    std::atomic<uint64_t> deliveredSamples_{0};
    std::atomic<int32_t> watchdog_{0};
    PeriodicTimer timer_;
    std::atomic<uint64_t> lastTimerTick_{0};
    std::atomic<int64_t> lastReportedSeconds_{-1};

    Event feederStop_{true, false};
    ChunkPool chunkPool_;
    // Wakes the idle feeder early: set with every stop and flush request.
    Event feederWake_{false, false};
    std::mutex flushMutex_;
    std::condition_variable flushServed_;
    std::atomic<bool> feederRunning_{false};
    std::thread feederThread_;
};

} // namespace sonavel
