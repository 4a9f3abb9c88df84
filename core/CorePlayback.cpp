#include "core/PlayerCore.h"

#include "app/AppConfigData.h"
#include "app/TextEncoding.h"
#include "app/TextFormat.h"
#include "core/CoreInternals.h"
#include "core/EntryDuration.h"
#include "core/PlaylistCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"

namespace sonavel {

namespace {

constexpr size_t kRowTextLimit = 260;

std::u16string RowText(std::u16string_view text)
{
    std::u16string shown = NormalizeForDisplay(text);
    if (shown.size() > kRowTextLimit) {
        shown.resize(kRowTextLimit);
    }
    return shown;
}

std::u16string DurationText(const MusicTrackInfo& entry)
{
    if (entry.lengthFrames == 0) {
        return u"?";
    }
    const int32_t seconds = RoundSeconds(EntryDurationSeconds(entry));
    const int32_t hours = seconds / 3600;
    const int32_t minutes = seconds % 3600 / 60;
    if (hours != 0) {
        return FormatText(u"%d:%02d:%02d", {int64_t{hours}, int64_t{minutes}, int64_t{seconds % 60}});
    }
    return FormatText(u"%d:%02d", {int64_t{minutes}, int64_t{seconds % 60}});
}

} // namespace

int32_t CorePlay(bool selectedRow)
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return kCoreRefused;
    }
    const bool noDevice = core.config == nullptr || core.config->device.value.empty();
    if (noDevice || core.playlist->GetEntryCount() == 0) {
        return kCoreRefused;
    }
    if (!selectedRow) {
        CorePost(WM_PLAYER_PLAY, static_cast<uintptr_t>(core.playlist->GetCurrentEntry()), kPlayDeselectAll);
        return kCoreOk;
    }
    IPlaylistListCtrl* list = core.listCtrl;
    const std::vector<int32_t> selected = list != nullptr ? list->GetSelectedRows() : std::vector<int32_t>{};
    if (selected.empty()) {
        return kCoreOk;
    }
    CorePost(WM_PLAYER_PLAY, static_cast<uintptr_t>(selected.front()), kPlayDeselectAll | kPlayForceRestart);
    return kCoreOk;
}

void CorePlayRow(int32_t row)
{
    PlayerCore& core = Core();
    IPlaylistListCtrl* list = core.listCtrl;
    if (!core.ready || list == nullptr) {
        return;
    }
    if (const int32_t shown = core.currentEntry; shown >= 0) {
        list->SetItemImage(shown, kRowImageNone);
        list->RedrawItems(shown, shown);
    }
    core.currentEntry = -1;
    const int32_t current = core.playlist->GetCurrentEntry();
    list->SetItemImage(current, kRowImageNone);
    list->RedrawItems(current, current);
    list->SetItemImage(row, kRowImagePlaying);
    list->RedrawItems(row, row);
    CorePost(WM_PLAYER_PLAY, static_cast<uintptr_t>(row), kPlayDeselectAll | kPlayForceRestart);
    core.currentEntry = row;
}

int32_t CoreStopPlayback()
{
    if (!Core().ready) {
        return kCoreNotReady;
    }
    CorePost(WM_PLAYER_STOP, 1, 0);
    return kCoreOk;
}

void CoreClearRowImages()
{
    IPlaylistListCtrl* list = Core().listCtrl;
    if (list == nullptr) {
        return;
    }
    int32_t lastMarked = -1;
    const int32_t count = list->GetItemCount();
    for (int32_t row = 0; row < count; ++row) {
        if (list->GetItemImage(row) != kRowImageNone) {
            lastMarked = row;
        }
        list->SetItemImage(row, kRowImageNone);
    }
    if (lastMarked >= 0) {
        list->RedrawItems(lastMarked, lastMarked);
    }
}

void CoreInsertRow(const MusicTrackInfo& entry, int32_t row)
{
    IPlaylistListCtrl* list = Core().listCtrl;
    if (list == nullptr) {
        return;
    }
    const int32_t inserted = list->InsertItem(row, u"", kRowImageNone);
    if (inserted < 0) {
        return;
    }
    list->SetItemText(inserted, 1, RowText(entry.artist));
    list->SetItemText(inserted, 2, RowText(entry.title.empty() ? entry.displayName : entry.title));
    list->SetItemText(inserted, 3, DurationText(entry));
}

void CoreApplyOutputSettings()
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return;
    }
    core.outputSettings->Set(CoreConfiguredOutputSettings());
    CorePost(WM_PLAYER_OUTPUT_CHANGED, 0, 0);
}

int32_t CoreGetTrackDetails(bool selectedRow, TrackDetails* out)
{
    PlayerCore& core = Core();
    if (out == nullptr) {
        return kCoreNullArgument;
    }
    if (!core.ready) {
        return kCoreRefused;
    }
    int32_t index = core.playlist->GetCurrentEntry();
    if (selectedRow) {
        IPlaylistListCtrl* list = core.listCtrl;
        const std::vector<int32_t> selected = list != nullptr ? list->GetSelectedRows() : std::vector<int32_t>{};
        if (selected.size() != 1) {
            return kCoreRefused;
        }
        index = selected.front();
    }
    MusicTrackInfo entry;
    if (core.playlistStore->GetEntry(index, &entry) != 0) {
        return kCoreRefused;
    }
    out->displayName = entry.displayName;
    out->title = entry.title;
    out->artist = entry.artist;
    out->formatName = entry.formatName;
    out->sampleRate = entry.format.nSamplesPerSec;
    out->bitsPerSample = entry.format.wBitsPerSample;
    out->durationSeconds = RoundSeconds(EntryDurationSeconds(entry));
    return kCoreOk;
}

int32_t CoreGetTotalDuration(int32_t* seconds)
{
    if (seconds == nullptr) {
        return kCoreNullArgument;
    }
    double total = 0;
    if (const auto& store = Core().playlistStore) {
        const auto lock = store->Lock();
        const int32_t count = store->GetEntryCount();
        MusicTrackInfo entry;
        for (int32_t i = 0; i < count; ++i) {
            if (store->GetEntry(i, &entry) == 0) {
                total += EntryDurationSeconds(entry);
            }
        }
    }
    *seconds = RoundSeconds(total);
    return kCoreOk;
}

} // namespace sonavel
