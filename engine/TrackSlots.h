#pragma once

#include "engine/DecodedData.h"
#include "engine/MusicDataAnalyze.h"
#include "engine/OutputSettings.h"
#include "engine/RendererHost.h"
#include "platform/Event.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace sonavel {

class CPlaylistCtrl;
class CPluginCtrl;
class CWaveDataPlay;
class IAppErrorManager;
class IPlayerEventSink;
class IPlaybackAlerts;

inline constexpr int32_t kStreamingMode = 8;
inline constexpr int32_t kRamMode = 0;

// Who the slots and their loaders talk to.
struct TrackSlotPeers {
    std::shared_ptr<CPlaylistCtrl> playlist;
    std::shared_ptr<CPluginCtrl> plugins;
    std::shared_ptr<OutputSettingsStore> settings;
    IRendererEvents* playback = nullptr; // posts to the playback thread, reports error texts
    IPlayerEventSink* events = nullptr;  // loading progress
    IPlaybackAlerts* alerts = nullptr;   // "Not enough memory"
};

// The two track slots of the playback thread: per slot an opened source, a loader thread and a
// decoded-data container. Only the playback thread replaces sources, containers and loaders;
// loaders touch their own slot's state, the first-data flag and the container.
class CTrackSlots final : public ITrackSlotSource {
public:
    explicit CTrackSlots(TrackSlotPeers peers);
    CTrackSlots(const CTrackSlots&) = delete;
    CTrackSlots& operator=(const CTrackSlots&) = delete;
    ~CTrackSlots() override;

    void SetRenderer(CWaveDataPlay* renderer) { renderer_ = renderer; }

    // Opens entry `index` in the loading slot; error texts are reported when asked.
    bool OpenInSlot(int32_t index, bool reportErrors);
    // Starts the loader of the loading slot, then makes the other slot the loading one.
    bool StartLoader();
    void StopLoader(int slot);
    void SignalStop(int slot) { loaderStop_[slot].Set(); }
    // Streaming mode from the RamMode setting; new containers of the mode's kind for both slots.
    void ResetMode();
    void ResetContainer(int slot);
    void ClearContainer(int slot);

    int CurrentSlot() const { return currentSlot_; }
    void SetCurrentSlot(int slot) { currentSlot_ = slot & 1; }
    int LoadingSlot() const { return loadingSlot_; }
    void SetLoadingSlot(int slot) { loadingSlot_ = slot & 1; }
    int32_t StreamingMode() const { return streamingMode_; }
    void SetSlotState(int slot, int32_t state) { slotState_[slot] = state; }
    std::shared_ptr<CMusicDataAnalyze> Analyzer(int slot);
    bool FirstDataReady() const { return firstDataReady_.IsSet(); }
    // The slot's loader read its whole range (it was not stopped and met no error).
    bool LoadedWhole(int slot) const { return loadedWhole_[slot & 1]; }
    bool WaitFirstData(uint32_t timeoutMs) { return firstDataReady_.Wait(timeoutMs); }

    // ITrackSlotSource, for the feeder.
    int32_t SlotState(int slot) const override { return slotState_[slot & 1]; }
    void SetSlotIdle(int slot) override { slotState_[slot & 1] = kSlotIdle; }
    bool IsStreaming() const override { return streamingMode_ != kRamMode; }
    bool ReadSlotFormat(int slot, WAVEFORMATEX& format, bool& isDsd) override;
    std::shared_ptr<IDecodedData> Decoded(int slot) override;

private:
    void LoaderRun(int slot);
    void Load(int slot, const std::shared_ptr<CMusicDataAnalyze>& analyzer,
        const std::shared_ptr<IDecodedData>& decoded);
    MusicOpenParams OpenParams(const MusicTrackInfo& entry) const;
    void RaiseLoading(int32_t percent);

    TrackSlotPeers peers_;
    CWaveDataPlay* renderer_ = nullptr;
    std::atomic<int> currentSlot_{0};
    std::atomic<int32_t> streamingMode_{kStreamingMode};
    mutable std::mutex sourceLock_;
    std::array<std::shared_ptr<CMusicDataAnalyze>, 2> analyzers_;
    std::array<std::shared_ptr<IDecodedData>, 2> decoded_;
    std::array<std::thread, 2> loaders_;
    std::array<Event, 2> loaderStop_;
    std::array<std::atomic<uint64_t>, 2> slotBytes_{};
    std::array<std::atomic<int32_t>, 2> slotState_{};
    std::array<std::atomic<bool>, 2> loadedWhole_{};
    std::mutex decodeMutex_;
    std::atomic<int> loadingSlot_{0};
    Event firstDataReady_{true, false};
};

} // namespace sonavel
