#include "core/PlayerCore.h"

#include "app/AppConfigData.h"
#include "app/StringTable.h"
#include "core/CoreDialogs.h"
#include "core/CoreInternals.h"
#include "core/PlaylistCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "core/PlaylistViewCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlayerMessages.h"
#include "sources/SourceFactory.h"

namespace sonavel {

namespace {

constexpr uint32_t kOpenTitle = 25006;
constexpr uint32_t kAddFilesTitle = 25007;
// The column texts are read back through a buffer of this many characters when rows move.
constexpr size_t kMovedTextLimit = 255;

// The music files the user picks in the Open or Add files dialog; empty when cancelled.
std::vector<std::u16string> AskMusicFiles(uint32_t title)
{
    ICoreDialogs* dialogs = Core().dialogs;
    FileDialogRequest request;
    request.kind = FileDialogKind::Open;
    request.title = LoadString(title);
    request.filter = CoreBuildOpenFilter();
    request.multipleSelection = true;
    std::vector<std::u16string> chosen;
    if (dialogs == nullptr || !dialogs->AskFileNames(request, &chosen)) {
        return {};
    }
    return chosen;
}

void ClearRowsAndPlaylist()
{
    if (IPlaylistListCtrl* list = Core().listCtrl) {
        list->DeleteAllItems();
    }
    Core().playlistStore->Clear();
}

void AppendFiles(const std::vector<std::u16string>& paths)
{
    for (const std::u16string& path : paths) {
        CoreAddFileAt(path, Core().playlistStore->GetEntryCount());
    }
}

void ReportSourceMode(int32_t change)
{
    if (ITkCallback* view = Core().callback) {
        view->OnSourceMode(change);
    }
}

void RemoveSelectedRows(bool byKey)
{
    PlayerCore& core = Core();
    IPlaylistListCtrl* list = core.listCtrl;
    if (!core.ready || list == nullptr) {
        return;
    }
    CPlaylistCtrlImpl& store = *core.playlistStore;
    bool removedCurrent = false;
    bool removedNext = false;
    const std::vector<int32_t> selected = list->GetSelectedRows();
    for (auto row = selected.rbegin(); row != selected.rend(); ++row) {
        const int32_t next = store.IsShuffle() ? store.GetNextEntry() : *row;
        const int32_t shown = core.currentEntry;
        list->DeleteItem(*row);
        const int32_t wasCurrent = store.Remove(*row);
        store.SetModified(true);
        if (wasCurrent == 1 && core.currentEntry != -1) {
            removedCurrent = true;
        }
        if (next == shown + 1) {
            removedNext = true;
        }
    }
    list->RepaintAll();
    if (removedCurrent) {
        if (!byKey) {
            core.playState = 0;
        }
        CorePost(WM_PLAYER_STOP, 1, 0);
    } else {
        if (removedNext) {
            CorePost(WM_PLAYER_PLAYLIST_CHANGED, 0, 0);
        }
        ReportSourceMode(CoreSourceModeChange());
        CorePost(WM_PLAYER_REPORT_TIME, 0, 0);
    }
    if (core.cdMode && list->GetItemCount() == 0) {
        CoreLeaveCdMode();
        core.playState = 0;
    }
    ReportSourceMode(kSourceModeUnchanged);
    if (!byKey || core.currentEntry != -1) {
        core.currentEntry = core.playlist->GetCurrentEntry();
    }
}

struct MovedRow {
    int32_t row = 0;
    int32_t image = 0;
    std::u16string texts[3];
    bool marked = false;
};

} // namespace

void CoreOpenFiles()
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return;
    }
    const std::vector<std::u16string> paths = AskMusicFiles(kOpenTitle);
    if (paths.empty()) {
        return;
    }
    CoreLeaveCdMode();
    ClearRowsAndPlaylist();
    AppendFiles(paths);
    CorePost(WM_PLAYER_STOP, 1, 0);
    ReportSourceMode(kSourceModeToFiles);
}

int32_t CoreAddFiles()
{
    PlayerCore& core = Core();
    if (!core.ready || core.cdMode) {
        return kCoreRefused;
    }
    const std::vector<std::u16string> paths = AskMusicFiles(kAddFilesTitle);
    if (paths.empty()) {
        return kCoreOk;
    }
    AppendFiles(paths);
    CoreReportPlaylistEdit();
    ReportSourceMode(kSourceModeUnchanged);
    return kCoreOk;
}

void CoreRemoveSelected()
{
    RemoveSelectedRows(false);
}

void CoreRemoveSelectedByKey()
{
    RemoveSelectedRows(true);
}

int32_t CoreNewPlaylist()
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return kCoreOk;
    }
    ClearRowsAndPlaylist();
    CoreLeaveCdMode();
    if (CAppConfigData* config = core.config) {
        config->playlistFile.value.clear();
        config->Save();
    }
    CorePost(WM_PLAYER_STOP, 1, 0);
    core.playState = 0;
    ReportSourceMode(kSourceModeToFiles);
    return kCoreOk;
}

void CoreOpenCd(const std::u16string& device)
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return;
    }
    ClearRowsAndPlaylist();
    core.previousCdMode = core.cdMode;
    core.cdMode = true;
    if (IPlaylistViewCtrl* view = core.listViewCtrl) {
        if (core.currentEntry == -1) {
            view->EnableDragReorder(0);
        }
        view->EnableFileDrop(0);
    }
    auto disc = CreateSourceOfType(kSourceCdda, device, core.plugins);
    MusicOpenParams params;
    params.path = device;
    disc->Open(&params);
    int tracks = 0;
    disc->GetTrackCount(&tracks);
    if (tracks == 0) {
        CoreLeaveCdMode();
    }
    MusicTrackInfo entry;
    for (int i = 0; i < tracks; ++i) {
        disc->GetTrackInfo(i, &entry);
        const int32_t row = core.playlistStore->GetEntryCount();
        CoreInsertRow(entry, row);
        core.playlistStore->InsertAt(entry, row);
    }
    core.playlistStore->SetModified(true);
    CorePost(WM_PLAYER_STOP, 1, 0);
    ReportSourceMode(kSourceModeToCd);
}

void CoreMoveSelectedRows(int32_t target)
{
    PlayerCore& core = Core();
    IPlaylistListCtrl* list = core.listCtrl;
    if (!core.ready || list == nullptr) {
        return;
    }
    const std::vector<int32_t> selected = list->GetSelectedRows();
    const int32_t mark = list->GetSelectionMark();
    std::vector<MovedRow> moved;
    for (const int32_t row : selected) {
        MovedRow item{row, list->GetItemImage(row), {}, row == mark};
        for (int32_t column = 1; column <= 3; ++column) {
            item.texts[column - 1] = list->GetItemText(row, column).substr(0, kMovedTextLimit);
        }
        moved.push_back(std::move(item));
    }
    core.playlistStore->Move(selected, target);
    core.playlistStore->SetModified(true);

    for (auto item = moved.rbegin(); item != moved.rend(); ++item) {
        if (item->row >= target) {
            list->DeleteItem(item->row);
        }
    }
    for (auto item = moved.rbegin(); item != moved.rend(); ++item) {
        const int32_t row = list->InsertItem(target, u"", item->image);
        for (int32_t column = 1; column <= 3; ++column) {
            list->SetItemText(row, column, item->texts[column - 1]);
        }
        list->SetItemSelected(row, true);
        if (item->marked) {
            list->SetItemFocused(row);
            list->SetSelectionMark(row);
        }
    }
    for (auto item = moved.rbegin(); item != moved.rend(); ++item) {
        if (item->row < target) {
            list->DeleteItem(item->row);
        }
    }
    core.currentEntry = core.playlist->GetCurrentEntry();
    CoreReportPlaylistEdit();
    ReportSourceMode(kSourceModeUnchanged);
}

} // namespace sonavel
