#include "core/PlayerCore.h"

#include "app/AppConfigData.h"
#include "app/StringTable.h"
#include "core/CoreDialogs.h"
#include "core/CoreInternals.h"
#include "core/PlaylistCtrl.h"
#include "core/PlaylistFile.h"
#include "core/PlaylistListCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlayerMessages.h"

namespace sonavel {

namespace {

constexpr uint32_t kLoadPlaylistTitle = 25008;
constexpr uint32_t kSavePlaylistTitle = 25009;

// The dialog for a playlist file; empty when cancelled or when there is nobody to ask.
std::u16string AskPlaylistFile(FileDialogKind kind, uint32_t title, std::u16string initialName)
{
    ICoreDialogs* dialogs = Core().dialogs;
    FileDialogRequest request;
    request.kind = kind;
    request.title = LoadString(title);
    request.filter = u"playlist|*.ppl|";
    request.defaultExtension = u"ppl";
    request.initialName = std::move(initialName);
    std::vector<std::u16string> chosen;
    if (dialogs == nullptr || !dialogs->AskFileNames(request, &chosen) || chosen.empty()) {
        return {};
    }
    return chosen.front();
}

void RememberPlaylistFile(const std::u16string& path)
{
    if (CAppConfigData* config = Core().config) {
        config->playlistFile.value = path;
        config->Save();
    }
}

} // namespace

bool CoreWritePlaylistFile(const std::u16string& path)
{
    const auto& store = Core().playlistStore;
    return store && WritePlaylistFile(*store, path);
}

bool CoreReadPlaylistFile(const std::u16string& path, std::vector<MusicTrackInfo>* out)
{
    return out != nullptr && ReadPlaylistFile(path, Core().plugins, *out);
}

bool CoreLoadPlaylistFile(const std::u16string& path)
{
    PlayerCore& core = Core();
    std::vector<MusicTrackInfo> entries;
    if (!core.playlistStore || !CoreReadPlaylistFile(path, &entries)) {
        return false;
    }
    CPlaylistCtrlImpl& store = *core.playlistStore;
    for (const MusicTrackInfo& entry : entries) {
        IPlaylistListCtrl* list = core.listCtrl;
        CoreInsertRow(entry, list != nullptr ? list->GetItemCount() : store.GetEntryCount());
        store.Append(entry);
    }
    const auto lock = store.Lock();
    store.SetShuffle(store.IsShuffle(), -1);
    store.SetModified(false);
    return true;
}

int32_t CoreLoadPlaylist()
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return kCoreRefused;
    }
    const std::u16string path = AskPlaylistFile(FileDialogKind::Open, kLoadPlaylistTitle, {});
    if (path.empty()) {
        return kCoreOk;
    }
    if (IPlaylistListCtrl* list = core.listCtrl) {
        list->DeleteAllItems();
    }
    core.playlistStore->Clear();
    CoreLeaveCdMode();
    CoreLoadPlaylistFile(path);
    RememberPlaylistFile(path);
    CorePost(WM_PLAYER_STOP, 1, 0);
    if (ITkCallback* view = core.callback) {
        view->OnSourceMode(kSourceModeToFiles);
    }
    return kCoreOk;
}

int32_t CoreSavePlaylist()
{
    PlayerCore& core = Core();
    if (!core.ready || core.cdMode) {
        return kCoreRefused;
    }
    const std::u16string initialName = core.config != nullptr ? core.config->playlistFile.value : u"";
    const std::u16string path = AskPlaylistFile(FileDialogKind::Save, kSavePlaylistTitle, initialName);
    if (path.empty()) {
        return kCoreRefused;
    }
    CoreWritePlaylistFile(path);
    RememberPlaylistFile(path);
    return kCoreOk;
}

} // namespace sonavel
