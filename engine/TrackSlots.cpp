#include "engine/TrackSlots.h"

#include "app/ErrorText.h"
#include "core/PlaylistCtrl.h"
#include "engine/DecodedDataBuffer.h"
#include "engine/DecodedDataQueue.h"
#include "engine/WaveDataPlay.h"
#include "sources/MusicResult.h"

namespace sonavel {

namespace {

std::shared_ptr<IDecodedData> NewContainer(int32_t streamingMode)
{
    if (streamingMode == kRamMode) {
        return std::make_shared<CDecodedDataBuffer>();
    }
    return std::make_shared<CDecodedDataQueue>();
}

} // namespace

CTrackSlots::CTrackSlots(TrackSlotPeers peers) : peers_(std::move(peers))
{
    ResetMode();
}

CTrackSlots::~CTrackSlots()
{
    StopLoader(0);
    StopLoader(1);
}

void CTrackSlots::ResetMode()
{
    streamingMode_ = peers_.settings->Get().ramMode != 0 ? kRamMode : kStreamingMode;
    std::lock_guard guard(sourceLock_);
    decoded_[0] = NewContainer(streamingMode_);
    decoded_[1] = NewContainer(streamingMode_);
}

std::shared_ptr<IDecodedData> CTrackSlots::Decoded(int slot)
{
    std::lock_guard guard(sourceLock_);
    return decoded_[slot & 1];
}

std::shared_ptr<CMusicDataAnalyze> CTrackSlots::Analyzer(int slot)
{
    std::lock_guard guard(sourceLock_);
    return analyzers_[slot & 1];
}

void CTrackSlots::ResetContainer(int slot)
{
    if (auto decoded = Decoded(slot)) {
        decoded->Reset();
    }
}

void CTrackSlots::ClearContainer(int slot)
{
    if (auto decoded = Decoded(slot)) {
        decoded->Clear();
    }
}

bool CTrackSlots::ReadSlotFormat(int slot, WAVEFORMATEX& format, bool& isDsd)
{
    std::lock_guard guard(sourceLock_);
    const auto& analyzer = analyzers_[slot & 1];
    if (!analyzer) {
        return false;
    }
    format = analyzer->Format();
    isDsd = analyzer->IsDsd();
    return true;
}

MusicOpenParams CTrackSlots::OpenParams(const MusicTrackInfo& entry) const
{
    const OutputSettings settings = peers_.settings->Get();
    CPlaylistCtrlImpl& store = peers_.playlist->Store();
    const auto lock = store.Lock();
    MusicOpenParams params;
    params.path = entry.path;
    params.thresholdDb = settings.thrGapless;
    if (settings.mp3Gapless && store.GetEntryCount() > 1) {
        MusicTrackInfo current;
        MusicTrackInfo next;
        store.GetEntry(store.GetCurrentEntry(), &current);
        store.GetEntry(store.GetNextEntry(), &next);
        params.useThreshold = current.sourceType == kSourceMp3 && next.sourceType == kSourceMp3;
    }
    return params;
}

bool CTrackSlots::OpenInSlot(int32_t index, bool reportErrors)
{
    const int slot = loadingSlot_;
    MusicTrackInfo entry;
    peers_.playlist->Store().GetEntry(index, &entry);
    std::shared_ptr<CMusicDataAnalyze> analyzer;
    {
        std::lock_guard guard(sourceLock_);
        analyzers_[slot].reset();
        if (entry.sourceType >= kSourceCdda && entry.sourceType <= kSourcePlugin) {
            analyzers_[slot] = std::make_shared<CMusicDataAnalyze>();
        }
        analyzer = analyzers_[slot];
    }
    const int32_t result =
        analyzer ? analyzer->Open(entry, OpenParams(entry), peers_.plugins) : kResultBadArgument;
    if (result == kResultOk) {
        return true;
    }
    if (reportErrors && peers_.playback != nullptr) {
        const std::u16string text = ResultMessage(result, entry.path);
        if (!text.empty()) {
            peers_.playback->ReportError(text);
        }
    }
    return false;
}

void CTrackSlots::StopLoader(int slot)
{
    loaderStop_[slot].Set();
    if (loaders_[slot].joinable()) {
        loaders_[slot].join();
    }
    slotState_[slot] = kSlotIdle;
}

bool CTrackSlots::StartLoader()
{
    const int slot = loadingSlot_;
    if (loaders_[slot].joinable()) {
        StopLoader(slot);
    }
    const auto analyzer = Analyzer(slot);
    slotBytes_[slot] = analyzer ? analyzer->RangeBytes() : 0;
    if (renderer_ != nullptr) {
        renderer_->ClearSlotQueues(slot);
    }
    ClearContainer(slot);
    firstDataReady_.Reset();
    loaderStop_[slot].Reset();
    // Loading from now on, not only once the thread runs: a seek right after must see it.
    slotState_[slot] = kSlotLoading;
    loadedWhole_[slot] = false;
    loaders_[slot] = std::thread([this, slot] { LoaderRun(slot); });
    loadingSlot_ = 1 - slot;
    return true;
}

} // namespace sonavel
