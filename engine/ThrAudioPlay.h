#pragma once

#include "core/PlayOrder.h"
#include "engine/OutputSettings.h"
#include "engine/PlayerMessageFilter.h"
#include "engine/RendererHost.h"
#include "engine/TrackSlots.h"
#include "platform/MessageThread.h"
#include "sources/MusicTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sonavel {

class CAsioWrapperImpl;
class CPlaylistCtrl;
class CPluginCtrl;
class CWaveDataPlay;
class IAppErrorManager;
class IPlaybackAlerts;
class IPlayerEventSink;
class ITkCallback;

enum PlayState : int32_t {
    kPlayStopped = 0,
    kPlayPlaying = 1,
    kPlayPaused = 2,
};

// What the playback thread works with; the pointers are borrowed and outlive the thread.
struct PlaybackContext {
    std::shared_ptr<CPlaylistCtrl> playlist;
    std::shared_ptr<CPluginCtrl> plugins;
    std::shared_ptr<CAsioWrapperImpl> wrapper;
    std::shared_ptr<OutputSettingsStore> settings;
    IPlayerEventSink* events = nullptr;
    IAppErrorManager* errors = nullptr;
    IPlaybackAlerts* alerts = nullptr;
    // RAM mode's check that the configured device can be opened; none: it can.
    std::function<bool()> testDevice;
    // The idle pass after a burst of work, and the pause after a superseding request during which
    // a following burst collects so that it can be collapsed.
    uint32_t idleMs = 300;
    uint32_t collapseMs = 250;
};

// The playback thread: every playback decision is taken here, one thread message at a time.
// It owns the two track slots with their loaders and the output renderer, and reports through
// the event sink and the view's callback, both called on this thread (and the renderer's timer
// and loader threads), never by posting to the GUI.
class CThrAudioPlay final : public IRendererEvents {
public:
    explicit CThrAudioPlay(PlaybackContext context);
    CThrAudioPlay(const CThrAudioPlay&) = delete;
    CThrAudioPlay& operator=(const CThrAudioPlay&) = delete;
    ~CThrAudioPlay() override;

    bool Start();
    bool Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    void PostQuit();
    // Waits up to timeoutMs for the thread to end after a quit.
    bool WaitForExit(uint32_t timeoutMs);
    void SetCallback(ITkCallback* callback) { callback_ = callback; }
    // The device list whose read times and rate profiles the renderer applies.
    void SetDeviceList(const class CDevNameInfo& list);

    int32_t PlayState() const { return playState_; }
    int32_t CurrentIndex() const { return currentIndex_; }
    // Buffer switches that found no data, samples delivered and tracks started, for diagnostics.
    uint64_t Underruns() const;
    uint64_t DeliveredSamples() const;
    uint64_t TracksStarted() const { return tracksStarted_; }

    // IRendererEvents.
    void PostToPlayer(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void ReportElapsed(uint32_t seconds) override;
    void ReportError(const std::u16string& text) override;

private:
    enum class PrepareVariant { AfterPlay, AfterSeekOrEdit, AfterSeamlessEnd };

    void Run(MessageQueue& queue);
    bool PumpMessage();
    // Moves everything waiting in the thread's queue into the filter; false when a quit came.
    bool DrainQueue();
    void Dispatch(const ThreadMessage& message);

    void OnPlay(int32_t entry, int32_t deselectAll, bool force, int direction);
    void OnSeek(uint32_t seconds);
    void OnStop(uintptr_t wParam);
    void OnPause();
    void OnStep(bool next, int32_t deselectAll);
    void OnReportTime();
    void OnShuffle(bool on);
    void OnRepeat(int32_t mode);
    void OnTrackEnd(uint32_t endKind, intptr_t fromOutput);
    void OnPlaylistChanged();
    void OnOutputChanged();

    void FullStop();
    void StopAsRequested(uintptr_t wParam);
    // Waits for the loader's first data; false when a waiting request was carried out instead.
    bool WaitForFirstData();
    void HandSlotFormat(int slotValue, bool otherSlot);
    void PrepareNext(PrepareVariant variant);
    void ContinueSeamlessly(int32_t entryIndex);
    // Repeat mode, shuffle, position, count and played marks, read as one state.
    PlayOrderState OrderState() const;
    bool IsCdMode() const;
    void RaiseStarted(const MusicTrackInfo& entry, int32_t entryIndex, int32_t deselectAll);
    void RaiseEvent(int32_t event, int32_t value);
    void SendTime(uint32_t seconds);
    void SendTrackText(const MusicTrackInfo& entry, int32_t deselectAll);
    MusicTrackInfo Entry(int32_t index) const;

    PlaybackContext context_;
    MessageThread thread_;
    MessageQueue* queue_ = nullptr;
    CThrAudioPlayMessageFilter filter_;
    bool quitSeen_ = false;
    std::atomic<ITkCallback*> callback_{nullptr};
    std::atomic<int32_t> playState_{kPlayStopped};
    std::atomic<int32_t> currentIndex_{0};
    std::atomic<int32_t> currentLength_{0};
    std::atomic<uint64_t> tracksStarted_{0};
    int32_t repeatMode_ = 0;
    CTrackSlots slots_;
    std::unique_ptr<CWaveDataPlay> renderer_;
    std::optional<MusicTrackInfo> lastLoaded_;
};

} // namespace sonavel
