#include "engine/ThrAudioPlay.h"

#include "app/AppErrorManager.h"
#include "core/EntryDuration.h"
#include "core/PlayOrder.h"
#include "core/PlayerEvent.h"
#include "core/PlaylistCtrl.h"
#include "core/TimeReport.h"
#include "core/TkCallback.h"
#include "engine/PlayerMessages.h"
#include "engine/WaveDataPlay.h"

#include <chrono>
#include <cstring>
#include <thread>

namespace sonavel {

namespace {

constexpr uint32_t kFirstDataPollMs = 1;

bool SameEntryButPlayed(const MusicTrackInfo& a, const MusicTrackInfo& b)
{
    return a.path == b.path && a.displayName == b.displayName && a.sourceType == b.sourceType &&
        a.formatName == b.formatName && a.dataBytes == b.dataBytes && a.title == b.title && a.artist == b.artist &&
        std::memcmp(&a.format, &b.format, sizeof a.format) == 0 && a.lengthFrames == b.lengthFrames &&
        a.startFrame == b.startFrame && a.endFrame == b.endFrame && a.album == b.album &&
        a.trackNumber == b.trackNumber;
}

void SleepMs(uint32_t ms)
{
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

} // namespace

CThrAudioPlay::CThrAudioPlay(PlaybackContext context)
    : context_(std::move(context)),
      slots_({context_.playlist, context_.plugins, context_.settings, this, context_.events, context_.alerts})
{
    renderer_ = std::make_unique<CWaveDataPlay>(context_.wrapper, context_.settings, slots_, *this);
    slots_.SetRenderer(renderer_.get());
}

CThrAudioPlay::~CThrAudioPlay()
{
    if (thread_.IsRunning()) {
        thread_.PostQuit();
        thread_.WaitForExit(10000);
    }
}

bool CThrAudioPlay::Start()
{
    return thread_.Start([this](MessageQueue& queue) { Run(queue); });
}

bool CThrAudioPlay::Post(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return thread_.Post(message, wParam, lParam);
}

void CThrAudioPlay::PostQuit()
{
    thread_.PostQuit();
}

bool CThrAudioPlay::WaitForExit(uint32_t timeoutMs)
{
    return thread_.WaitForExit(timeoutMs);
}

void CThrAudioPlay::SetDeviceList(const CDevNameInfo& list)
{
    renderer_->SetDeviceList(list);
}

uint64_t CThrAudioPlay::Underruns() const
{
    return renderer_->Underruns();
}

uint64_t CThrAudioPlay::DeliveredSamples() const
{
    return renderer_->DeliveredSamples();
}

void CThrAudioPlay::PostToPlayer(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    thread_.Post(message, wParam, lParam);
}

void CThrAudioPlay::ReportError(const std::u16string& text)
{
    if (context_.errors != nullptr) {
        context_.errors->ReportError(text.c_str());
    }
}

void CThrAudioPlay::SendTime(uint32_t seconds)
{
    ITkCallback* callback = callback_;
    if (callback == nullptr) {
        return;
    }
    const int32_t before = context_.playlist->Store().GetElapsedBefore();
    const TimeReport report = MakeTimeReport(static_cast<int32_t>(seconds), currentLength_, before);
    callback->OnTime(report.secondsInTrack, report.secondsInPlaylist);
}

void CThrAudioPlay::ReportElapsed(uint32_t seconds)
{
    SendTime(seconds);
}

void CThrAudioPlay::RaiseEvent(int32_t event, int32_t value)
{
    if (context_.events != nullptr) {
        context_.events->OnPlayerEvent(event, nullptr, value);
    }
}

void CThrAudioPlay::RaiseStarted(const MusicTrackInfo& entry, int32_t entryIndex, int32_t deselectAll)
{
    const int32_t length = RoundSeconds(EntryDurationSeconds(entry));
    currentLength_ = length;
    ++tracksStarted_;
    if (context_.events != nullptr) {
        auto info = std::make_unique<PlayStartInfo>();
        info->lengthSeconds = length;
        info->entryIndex = entryIndex;
        info->deselectAll = deselectAll;
        context_.events->OnPlayerEvent(kPlayerEventStarted, std::move(info), 0);
    }
}

void CThrAudioPlay::SendTrackText(const MusicTrackInfo& entry, int32_t deselectAll)
{
    ITkCallback* callback = callback_;
    if (callback == nullptr) {
        return;
    }
    std::u16string text = entry.title;
    if (text.empty()) {
        const size_t slash = entry.path.find_last_of(u'/');
        text = slash == std::u16string::npos ? entry.path : entry.path.substr(slash + 1);
    }
    if (text.empty()) {
        text = u"unknown track";
    }
    callback->OnTrackText(text, deselectAll);
}

MusicTrackInfo CThrAudioPlay::Entry(int32_t index) const
{
    MusicTrackInfo entry;
    context_.playlist->Store().GetEntry(index, &entry);
    return entry;
}

PlayOrderState CThrAudioPlay::OrderState() const
{
    const CPlaylistCtrlImpl& store = context_.playlist->Store();
    const auto lock = store.Lock();
    PlayOrderState state;
    state.repeatMode = repeatMode_;
    state.shuffle = store.IsShuffle();
    state.position = store.GetPosition();
    state.count = store.GetEntryCount();
    state.allPlayed = store.AllPlayed();
    return state;
}

bool CThrAudioPlay::IsCdMode() const
{
    return Entry(currentIndex_).sourceType == kSourceCdda;
}

void CThrAudioPlay::Run(MessageQueue& queue)
{
    queue_ = &queue;
    playState_ = kPlayStopped;
    while (PumpMessage()) {
        if (filter_.Empty() && queue.Size() == 0) {
            SleepMs(context_.idleMs);
        }
    }
    slots_.SignalStop(0);
    slots_.SignalStop(1);
    slots_.StopLoader(0);
    slots_.StopLoader(1);
    renderer_->StopOutput(false);
}

bool CThrAudioPlay::DrainQueue()
{
    ThreadMessage message;
    while (queue_->Peek(message, true)) {
        if (message.message == WM_QUIT) {
            // Put back for the pump, which ends the thread without running what waits here.
            quitSeen_ = true;
            queue_->PostQuit();
            return false;
        }
        filter_.Append(message);
    }
    return true;
}

bool CThrAudioPlay::PumpMessage()
{
    if (quitSeen_ || !DrainQueue()) {
        return false;
    }
    bool pauseAfter = false;
    if (filter_.Empty()) {
        ThreadMessage message;
        if (!queue_->Get(message)) {
            return false;
        }
        filter_.Append(message);
        pauseAfter = IsSupersedingMessage(message.message);
    }
    filter_.Collapse();
    if (!filter_.Empty()) {
        Dispatch(filter_.PopFront());
    }
    if (pauseAfter) {
        SleepMs(context_.collapseMs);
    }
    return !quitSeen_;
}

void CThrAudioPlay::Dispatch(const ThreadMessage& message)
{
    switch (message.message) {
    case WM_PLAYER_PLAY:
        OnPlay(static_cast<int32_t>(message.wParam), (message.lParam & kPlayDeselectAll) != 0 ? 1 : 0,
            (message.lParam & kPlayForceRestart) != 0, 0);
        break;
    case WM_PLAYER_SEEK:
        OnSeek(static_cast<uint32_t>(message.wParam));
        break;
    case WM_PLAYER_REPORT_TIME:
        OnReportTime();
        break;
    case WM_PLAYER_STOP:
        OnStop(message.wParam);
        break;
    case WM_PLAYER_PAUSE:
        OnPause();
        break;
    case WM_PLAYER_PREVIOUS:
        OnStep(false, static_cast<int32_t>(message.wParam));
        break;
    case WM_PLAYER_NEXT:
        OnStep(true, static_cast<int32_t>(message.wParam));
        break;
    case WM_PLAYER_TRACK_END:
        OnTrackEnd(static_cast<uint32_t>(message.wParam), message.lParam);
        break;
    case WM_PLAYER_OUTPUT_CHANGED:
        OnOutputChanged();
        break;
    case WM_PLAYER_SHUFFLE:
        OnShuffle(message.wParam != 0);
        break;
    case WM_PLAYER_REPEAT:
        OnRepeat(static_cast<int32_t>(message.wParam));
        break;
    case WM_PLAYER_PLAYLIST_CHANGED:
        OnPlaylistChanged();
        break;
    default:
        break;
    }
}

void CThrAudioPlay::FullStop()
{
    slots_.SignalStop(0);
    slots_.SignalStop(1);
    renderer_->StopOutput(false);
    slots_.StopLoader(0);
    slots_.StopLoader(1);
    slots_.SetCurrentSlot(0);
    slots_.SetLoadingSlot(0);
}

void CThrAudioPlay::StopAsRequested(uintptr_t wParam)
{
    playState_ = kPlayStopped;
    FullStop();
    context_.playlist->Store().ClearPlayed();
    RaiseEvent(kPlayerEventStopped, static_cast<int32_t>(wParam));
}

void CThrAudioPlay::OnStop(uintptr_t wParam)
{
    StopAsRequested(wParam);
}

bool CThrAudioPlay::WaitForFirstData()
{
    while (!slots_.FirstDataReady()) {
        slots_.WaitFirstData(kFirstDataPollMs);
        if (!DrainQueue()) {
            return false;
        }
        // A pause would toggle a track that has not started: it is lost.
        filter_.RemoveAll(WM_PLAYER_PAUSE);
        const auto request =
            filter_.Take({WM_PLAYER_PLAY, WM_PLAYER_SEEK, WM_PLAYER_STOP, WM_PLAYER_PREVIOUS, WM_PLAYER_NEXT});
        if (request) {
            Dispatch(*request);
            return false;
        }
    }
    return true;
}

void CThrAudioPlay::HandSlotFormat(int slotValue, bool otherSlot)
{
    const auto analyzer = slots_.Analyzer(slotValue);
    if (!analyzer) {
        return;
    }
    const WAVEFORMATEX format = analyzer->Format();
    renderer_->SetSlotFormat(format.nChannels, format.nBlockAlign != 0 ? format.nBlockAlign : 1,
        analyzer->CanPrepareAhead(), otherSlot, format.nSamplesPerSec, analyzer->IsDsd());
}

void CThrAudioPlay::OnPlay(int32_t entryIndex, int32_t deselectAll, bool force, int direction)
{
    if (slots_.IsStreaming()) {
        slots_.SetSlotState(0, kSlotIdle);
        slots_.SetSlotState(1, kSlotIdle);
    }
    if (ITkCallback* callback = callback_) {
        callback->OnPrepare();
    }
    if (!force && playState_ == kPlayPaused && currentIndex_ == entryIndex) {
        playState_ = renderer_->PauseToggle();
        RaiseEvent(kPlayerEventResumed, 1);
        return;
    }
    FullStop();
    currentIndex_ = entryIndex;
    CPlaylistCtrlImpl& store = context_.playlist->Store();
    store.FindPosition(entryIndex);
    const uint32_t skipMessage = direction != 0 ? WM_PLAYER_PREVIOUS : WM_PLAYER_NEXT;
    if (entryIndex < 0 || entryIndex >= store.GetEntryCount()) {
        return;
    }
    const MusicTrackInfo entry = Entry(entryIndex);
    if (entry.played) {
        if (!store.AllPlayed() && repeatMode_ != 1) {
            SendTrackText(entry, deselectAll);
            Post(skipMessage, static_cast<uintptr_t>(deselectAll), 0);
        } else {
            StopAsRequested(0);
        }
        return;
    }
    const int current = slots_.CurrentSlot();
    const bool ramMode = !slots_.IsStreaming();
    // Only a track that was loaded whole is reused; a load cut short by a stop is done again.
    const bool reused = ramMode && lastLoaded_ && SameEntryButPlayed(*lastLoaded_, entry) &&
        slots_.Analyzer(current) != nullptr && slots_.LoadedWhole(current);
    if (reused) {
        slots_.SetSlotState(current, kSlotComplete);
        slots_.Decoded(current)->Seek(0);
    } else {
        slots_.ResetContainer(current);
    }
    if (ramMode && context_.testDevice && !context_.testDevice()) {
        ReportError(u"Playback device is not available");
        Post(WM_PLAYER_STOP, 0, 0);
        return;
    }
    if (!reused && !slots_.OpenInSlot(entryIndex, true)) {
        store.MarkPlayed(entryIndex);
        lastLoaded_.reset();
        RaiseEvent(kPlayerEventStopped, 0);
        if (store.GetPosition() + 1 == store.GetEntryCount()) {
            StopAsRequested(0);
        } else {
            Post(skipMessage, static_cast<uintptr_t>(deselectAll), 0);
        }
        return;
    }
    const auto analyzer = slots_.Analyzer(current);
    const bool prepareAhead = analyzer && analyzer->CanPrepareAhead();
    if (!reused && !slots_.StartLoader()) {
        return;
    }
    playState_ = kPlayPlaying;
    RaiseStarted(entry, entryIndex, deselectAll);
    if (ITkCallback* callback = callback_) {
        callback->OnTime(0, store.GetElapsedBefore());
    }
    HandSlotFormat(current, false);
    lastLoaded_ = entry;
    if (!WaitForFirstData()) {
        return;
    }
    const WAVEFORMATEX format = analyzer->Format();
    if (renderer_->StartOutput(entry, format.wBitsPerSample, false, format.nSamplesPerSec) == -1) {
        store.MarkPlayed(entryIndex);
        lastLoaded_.reset();
        SendTrackText(entry, deselectAll);
    }
    if (!IsCdMode() && prepareAhead && slots_.IsStreaming() && store.GetEntryCount() >= 2) {
        PrepareNext(PrepareVariant::AfterPlay);
    }
}

void CThrAudioPlay::OnSeek(uint32_t seconds)
{
    if (!DrainQueue()) {
        return;
    }
    if (const auto newest = filter_.TakeAll(WM_PLAYER_SEEK)) {
        seconds = static_cast<uint32_t>(newest->wParam);
    }
    if (playState_ == kPlayStopped) {
        return;
    }
    const int current = slots_.CurrentSlot();
    const auto analyzer = slots_.Analyzer(current);
    if (!analyzer) {
        return;
    }
    // A track still being expanded into memory would be cut at what is loaded: the seek waits
    // for the load to finish.
    if (!slots_.IsStreaming() && slots_.SlotState(current) == kSlotLoading && !WaitForFirstData()) {
        return;
    }
    const MusicTrackInfo entry = Entry(currentIndex_);
    const WAVEFORMATEX format = analyzer->Format();
    for (;;) {
        renderer_->StopOutput(true);
        slots_.SignalStop(0);
        slots_.SignalStop(1);
        slots_.StopLoader(0);
        slots_.StopLoader(1);
        slots_.Decoded(current)->Seek(uint64_t{seconds} * format.nSamplesPerSec);
        analyzer->SetRange(entry.startFrame, entry.endFrame, seconds * kFramesPerSecond);
        renderer_->SetPosition(seconds);
        slots_.SetLoadingSlot(current);
        if (slots_.IsStreaming()) {
            slots_.StartLoader();
        } else {
            slots_.SetSlotState(current, kSlotComplete);
        }
        HandSlotFormat(current, false);
        if (!DrainQueue()) {
            return;
        }
        const auto again = filter_.TakeAll(WM_PLAYER_SEEK);
        if (!again) {
            break;
        }
        seconds = static_cast<uint32_t>(again->wParam);
    }
    if (!WaitForFirstData()) {
        return;
    }
    const bool paused = playState_ == kPlayPaused;
    renderer_->StartOutput(entry, format.wBitsPerSample, paused, format.nSamplesPerSec);
    if (paused) {
        renderer_->PauseToggle();
    }
    PrepareNext(PrepareVariant::AfterSeekOrEdit);
}

void CThrAudioPlay::OnPause()
{
    if (playState_ == kPlayStopped) {
        return;
    }
    const int32_t result = renderer_->PauseToggle();
    playState_ = result;
    if (result == kPlayPaused) {
        RaiseEvent(kPlayerEventPaused, 0);
    } else {
        RaiseEvent(kPlayerEventResumed, 1);
    }
}

void CThrAudioPlay::OnStep(bool next, int32_t deselectAll)
{
    playState_ = kPlayPlaying;
    CPlaylistCtrlImpl& store = context_.playlist->Store();
    const PlayOrderStep step =
        DecidePlayOrderStep(next ? PlayOrderTrigger::Next : PlayOrderTrigger::Previous, OrderState());
    if (step.action == PlayOrderAction::Stop) {
        StopAsRequested(0);
        return;
    }
    store.SetPosition(step.position);
    OnPlay(store.GetCurrentEntry(), deselectAll, false, next ? 0 : 1);
}

void CThrAudioPlay::OnReportTime()
{
    if (!renderer_->IsPlaying() || renderer_->SampleRate() == 0.0) {
        return;
    }
    SendTime(static_cast<uint32_t>(static_cast<double>(renderer_->PlayedSamples()) / renderer_->SampleRate()));
}

void CThrAudioPlay::OnShuffle(bool on)
{
    const auto lock = context_.playlist->Store().Lock();
    context_.playlist->Store().SetShuffle(on, -1);
}

void CThrAudioPlay::OnRepeat(int32_t mode)
{
    const bool titleInvolved = repeatMode_ == kRepeatTitle || mode == kRepeatTitle;
    repeatMode_ = mode;
    if (titleInvolved) {
        OnPlaylistChanged();
    }
}

void CThrAudioPlay::OnOutputChanged()
{
    // Reopening the device under a running stream would pull the buffers from under the
    // callback: playback stops first.
    if (playState_ != kPlayStopped) {
        StopAsRequested(0);
    }
    renderer_->OpenOutput(kOutputFormatNone, context_.settings->Get().deviceName);
    slots_.ResetMode();
    context_.playlist->Store().ClearPlayed();
    lastLoaded_.reset();
}

} // namespace sonavel
