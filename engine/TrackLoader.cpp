// The loader thread of a track slot: reads the slot's source block by block into its container,
// in RAM mode with the memory checks before and during the load.
#include "engine/TrackSlots.h"

#include "app/ErrorText.h"
#include "core/PlayerEvent.h"
#include "core/PlaylistCtrl.h"
#include "engine/PlaybackAlerts.h"
#include "engine/PlayerMessages.h"
#include "engine/RamModeLimits.h"
#include "sources/MusicResult.h"

#include <algorithm>

namespace sonavel {

namespace {

constexpr uint32_t kFullWaitMs = 10;
constexpr uint32_t kStreamingSeconds = 8;
constexpr uint32_t kDecodePollMs = 1;

bool MemoryAllows(uint64_t total, bool beforeLoad)
{
    const auto status = QueryMemoryStatus();
    if (!status) {
        return true;
    }
    return beforeLoad ? RamModeTrackFits(total, *status) : RamModeHeadroomLeft(*status);
}

} // namespace

void CTrackSlots::RaiseLoading(int32_t percent)
{
    if (peers_.events != nullptr) {
        peers_.events->OnPlayerEvent(kPlayerEventLoading, nullptr, percent);
    }
}

void CTrackSlots::LoaderRun(int slot)
{
    const auto analyzer = Analyzer(slot);
    const auto decoded = Decoded(slot);
    if (!analyzer || !decoded) {
        slotState_[slot] = kSlotComplete;
        firstDataReady_.Set();
        return;
    }
    Load(slot, analyzer, decoded);
}

void CTrackSlots::Load(
    int slot, const std::shared_ptr<CMusicDataAnalyze>& analyzer, const std::shared_ptr<IDecodedData>& decoded)
{
    const bool ramMode = streamingMode_ == kRamMode;
    CPlaylistCtrlImpl& store = peers_.playlist->Store();
    const int32_t entryIndex = slot == currentSlot_ ? store.GetCurrentEntry() : store.GetNextEntry();
    MusicTrackInfo entry;
    store.GetEntry(entryIndex, &entry);
    const WAVEFORMATEX format = analyzer->Format();
    const uint32_t blockAlign = format.nBlockAlign;
    const uint64_t capacity = ramMode ? (entry.dataBytes & 0xFFFFFFFFu) / blockAlign
                                      : uint64_t{kStreamingSeconds} * format.nSamplesPerSec;

    std::unique_lock decodeLock(decodeMutex_, std::defer_lock);
    while (!decodeLock.try_lock()) {
        if (loaderStop_[slot].Wait(kDecodePollMs)) {
            slotState_[slot] = kSlotComplete;
            return;
        }
    }
    const uint64_t total = slotBytes_[slot];
    if (ramMode && total > 0) {
        RaiseLoading(1);
    }
    bool outOfMemory = ramMode && !MemoryAllows(total, true);
    int32_t result = kResultOk;
    // A container that cannot be sized is a track that does not fit.
    const bool storageReady = !outOfMemory && decoded->InitStorage(blockAlign, capacity) != 0;
    if (!storageReady && !outOfMemory) {
        outOfMemory = ramMode;
        result = ramMode ? kResultOk : kResultNoMemory;
    }
    uint64_t loaded = 0;
    int32_t lastPercent = 1;
    while (storageReady && !outOfMemory && !loaderStop_[slot].IsSet()) {
        if (ramMode && !MemoryAllows(total, false)) {
            outOfMemory = true;
            break;
        }
        void* block = nullptr;
        uint32_t bytes = 0;
        result = analyzer->ReadNext(&block, &bytes);
        if (result == kResultOk && bytes == 0) {
            result = kResultEndOfRange;
        }
        if (ramMode && total > 0) {
            loaded += bytes;
            const auto percent = static_cast<int32_t>(std::min<uint64_t>(loaded * 100 / total, 100));
            if (percent != lastPercent && percent > 1) {
                lastPercent = percent;
                RaiseLoading(percent);
            }
        }
        bool stopped = false;
        if ((result == kResultOk || result == kResultEndOfRange) && bytes > 0) {
            while (decoded->Push(block, bytes / blockAlign) == 0) {
                firstDataReady_.Set();
                if (loaderStop_[slot].Wait(kFullWaitMs)) {
                    stopped = true;
                    break;
                }
            }
        }
        analyzer->FreeBuffer(block);
        if (stopped || result != kResultOk) {
            break;
        }
    }
    if (outOfMemory) {
        decoded->Reset();
        if (peers_.playback != nullptr) {
            peers_.playback->PostToPlayer(WM_PLAYER_STOP, 0, 0);
        }
        if (peers_.alerts != nullptr) {
            peers_.alerts->ShowAlert(u"Not enough memory");
        }
    } else if (result != kResultOk && result != kResultEndOfRange && result != kResultNoMedium &&
        slot == currentSlot_) {
        store.MarkPlayed(entryIndex);
        const std::u16string text = ResultMessage(result, entry.path);
        if (peers_.playback != nullptr && !text.empty()) {
            peers_.playback->ReportError(text);
        }
    }
    if (ramMode && total > 0) {
        RaiseLoading(100);
    }
    if (result == kResultNoMedium) {
        // The medium went away: nothing more will come, so playback ends instead of waiting.
        if (peers_.playback != nullptr) {
            peers_.playback->PostToPlayer(WM_PLAYER_STOP, 0, 0);
        }
        return;
    }
    loadedWhole_[slot] = !outOfMemory && result == kResultEndOfRange;
    firstDataReady_.Set();
    slotState_[slot] = kSlotComplete;
}

} // namespace sonavel
