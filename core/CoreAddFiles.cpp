#include "core/PlayerCore.h"

#include "app/StringTable.h"
#include "core/CoreInternals.h"
#include "core/ExtensionTokens.h"
#include "core/PlaylistCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "core/PlaylistViewCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "platform/FileExtension.h"
#include "platform/NaturalCompare.h"
#include "platform/Utf.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/MusicDataCue.h"
#include "sources/MusicDataMP3.h"
#include "sources/MusicDataPlugin.h"
#include "sources/MusicDataWave.h"
#include "sources/SourceFactory.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace sonavel {

namespace {

bool IsDirectory(const std::u16string& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(Utf16ToUtf8(path)), error);
}

// The open-file filter's part for one source: "|name|" in rest, "*.x;" per token in both.
void AddFilterEntry(CMusicData& source, std::u16string_view name, std::u16string& all, std::u16string& rest)
{
    const MusicFileType* type = source.GetFileType();
    const std::u16string_view extensions =
        type != nullptr && type->extensions != nullptr ? type->extensions : std::u16string_view{};
    rest += u"|";
    rest += name.empty() ? extensions : name;
    rest += u"|";
    for (const std::u16string& token : ExtensionTokens(extensions)) {
        const std::u16string pattern = u"*." + token + u";";
        all += pattern;
        rest += pattern;
    }
}

std::u16string_view FileTypeName(CMusicData& source)
{
    const MusicFileType* type = source.GetFileType();
    return type != nullptr && type->description != nullptr ? type->description : std::u16string_view{};
}

} // namespace

int32_t CoreSourceTypeOf(std::u16string_view path)
{
    const std::u16string extension = ExtensionOf(path);
    if (extension == u"wav") {
        return kSourceWave;
    }
    if (extension == u"mp3") {
        return kSourceMp3;
    }
    return kSourcePlugin;
}

std::unique_ptr<CMusicData> CoreCreateMusicData(std::u16string_view path)
{
    return CreateSourceForPath(path, Core().plugins);
}

bool CoreHasListedExtension(std::u16string_view path, const std::vector<std::u16string>& list)
{
    const std::u16string extension = ExtensionOf(path);
    return !extension.empty() && std::any_of(list.begin(), list.end(), [&](const std::u16string& listed) {
        return EqualsIgnoringCase(extension, listed);
    });
}

int32_t CoreAddFileAt(const std::u16string& path, int32_t at)
{
    PlayerCore& core = Core();
    MusicTrackInfo entry;
    entry.path = path;
    entry.displayName = FileNameOf(path);
    auto source = CoreCreateMusicData(path);
    if (!source) {
        return 0;
    }
    MusicOpenParams params;
    params.path = path;
    if (source->Open(&params) != 0) {
        return 0;
    }
    int tracks = 0;
    source->GetTrackCount(&tracks);
    int32_t added = 0;
    for (int i = 0; i < tracks; ++i) {
        MusicTrackInfo track;
        if (source->GetTrackInfo(i, &track) != 0) {
            continue;
        }
        if (!track.path.empty()) {
            entry.path = track.path;
        }
        if (!track.displayName.empty()) {
            entry.displayName = track.displayName;
        }
        CopyTrackFields(track, entry);
        entry.played = false;
        const int32_t row = at < 0 ? i : at + i;
        CoreInsertRow(entry, row);
        core.playlistStore->InsertAt(entry, row);
        core.playlistStore->SetModified(true);
        ++added;
    }
    return added;
}

std::u16string CoreBuildOpenFilter()
{
    std::u16string all = std::u16string(LoadString(strings::kAllMusicFile)) + u"|";
    std::u16string rest;
    CMusicDataWave wave;
    AddFilterEntry(wave, FileTypeName(wave), all, rest);
    CMusicDataMP3 mp3;
    AddFilterEntry(mp3, FileTypeName(mp3), all, rest);
    CMusicDataCue cue(Core().plugins);
    AddFilterEntry(cue, FileTypeName(cue), all, rest);
    if (const auto& plugins = Core().plugins) {
        for (size_t record = 0; record < plugins->Records().size(); ++record) {
            CMusicDataPlugin plugin(plugins, record);
            AddFilterEntry(plugin, {}, all, rest);
        }
    }
    rest += u"||";
    return all + rest;
}

int32_t CoreDropFiles(const std::vector<std::u16string>& paths)
{
    PlayerCore& core = Core();
    IPlaylistListCtrl* list = core.listCtrl;
    IPlaylistViewCtrl* view = core.listViewCtrl;
    ViewPoint point;
    if (list == nullptr || view == nullptr || view->GetLastDropPoint(&point) == 0) {
        return CoreAddPaths(paths, -1);
    }
    int32_t at = list->GetItemCount();
    const int32_t row = list->HitTest(point);
    if (row >= 0) {
        const int32_t top = list->GetTopIndex();
        ViewRect rect;
        if (row < top) {
            at = top;
        } else if (list->GetItemRect(row, &rect)) {
            at = point.y >= (rect.top + rect.bottom) / 2 ? row + 1 : row;
        }
    }
    return CoreAddPaths(paths, at);
}

int32_t CoreAddPaths(const std::vector<std::u16string>& paths, int32_t at)
{
    PlayerCore& core = Core();
    if (!core.ready) {
        return 0;
    }
    if (at < 0) {
        at = core.playlistStore->GetEntryCount();
    }
    std::vector<std::u16string> collected;
    for (const std::u16string& path : paths) {
        if (IsDirectory(path)) {
            continue;
        }
        if (CoreHasListedExtension(path, core.playableExtensions) ||
            CoreHasListedExtension(path, core.playlistExtensions)) {
            collected.push_back(path);
        }
    }
    std::sort(collected.begin(), collected.end(),
        [](const std::u16string& a, const std::u16string& b) { return NaturalCompare(a, b) < 0; });

    int32_t added = 0;
    for (const std::u16string& path : collected) {
        if (!EqualsIgnoringCase(ExtensionOf(path), u"ppl")) {
            CoreLeaveCdMode();
            added += CoreAddFileAt(path, at + added);
            continue;
        }
        std::vector<MusicTrackInfo> entries;
        if (!CoreReadPlaylistFile(path, &entries)) {
            continue;
        }
        for (const MusicTrackInfo& entry : entries) {
            CoreInsertRow(entry, at + added);
            core.playlistStore->InsertAt(entry, at + added);
            core.playlistStore->SetModified(true);
            ++added;
        }
    }
    if (ITkCallback* view = core.callback) {
        view->OnSourceMode(kSourceModeUnchanged);
    }
    CoreReportPlaylistEdit();
    if (core.currentEntry != -1) {
        core.currentEntry = core.playlist->GetCurrentEntry();
    }
    return added;
}

} // namespace sonavel
