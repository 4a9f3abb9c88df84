#include "core/PlayerCore.h"

#include "app/AppConfigData.h"
#include "app/StringTable.h"
#include "core/CoreInternals.h"
#include "core/ExtensionTokens.h"
#include "core/PlaylistCtrl.h"
#include "core/PlaylistListCtrl.h"
#include "core/PlaylistViewCtrl.h"
#include "core/TkCallback.h"
#include "engine/OutputSettings.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "output/AsioWrapperImpl.h"
#include "output/DevNameInfo.h"
#include "output/OutputLocations.h"
#include "platform/FileExtension.h"
#include "plugin-host/PluginCtrl.h"

namespace sonavel {

namespace {

// Debug mode needs the switch "-d" or "/d" (any case) followed by the access word, exactly.
bool HasDebugSwitch(const std::vector<std::u16string>& arguments)
{
    const size_t count = arguments.size();
    size_t i = 1;
    while (i + 1 < count) {
        const std::u16string& argument = arguments[i];
        if (EqualsIgnoringCase(argument, u"-d") || EqualsIgnoringCase(argument, u"/d")) {
            if (arguments[i + 1] == u"pX2w") {
                return true;
            }
            i += 2;
        } else {
            i += 1;
        }
    }
    return false;
}

std::vector<std::u16string> PlayableExtensions(const CPluginCtrl& plugins)
{
    std::vector<std::u16string> extensions{u"wav", u"mp3", u"cue"};
    for (const PluginRecord& record : plugins.Records()) {
        for (std::u16string& token : ExtensionTokens(record.extensions)) {
            extensions.push_back(std::move(token));
        }
    }
    return extensions;
}

} // namespace

PlayerCore& Core()
{
    static PlayerCore core;
    return core;
}

OutputSettings CoreConfiguredOutputSettings()
{
    OutputSettings settings;
    if (const CAppConfigData* config = Core().config) {
        settings.deviceName = config->device.value;
        settings.mp3Gapless = config->mp3Gapless.value;
        settings.thrGapless = config->thrGapless.value;
        settings.decodeMode = config->decodeMode.value;
        settings.ramMode = config->ramMode.value;
    }
    return settings;
}

int32_t CoreInitialize(const std::vector<std::u16string>& arguments)
{
    PlayerCore& core = Core();
    int32_t result = kCoreOk;
    core.debugMode = HasDebugSwitch(arguments);

    core.plugins = std::make_shared<CPluginCtrl>();
    core.plugins->Load();
    core.playableExtensions = PlayableExtensions(*core.plugins);
    core.playlistExtensions = {u"ppl"};

    core.playlistStore = std::make_shared<CPlaylistCtrlImpl>();
    core.playlist = std::make_shared<CPlaylistCtrl>(core.playlistStore);

    core.outputDriver = std::make_shared<CAsioWrapperImpl>(OutputLocations::System());
    core.outputSettings = std::make_shared<OutputSettingsStore>();
    core.outputSettings->Set(CoreConfiguredOutputSettings());

    PlaybackContext context;
    context.playlist = core.playlist;
    context.plugins = core.plugins;
    context.wrapper = core.outputDriver;
    context.settings = core.outputSettings;
    context.events = &CoreEventSink();
    context.errors = core.errors;
    context.alerts = core.alerts;
    context.testDevice = [] { return CoreTestDevice(Core().outputSettings->Get().deviceName); };
    core.player = std::make_shared<CThrAudioPlay>(std::move(context));
    core.player->SetCallback(&CoreCallbackRelay());
    CDevNameInfo devices;
    if (GetDeviceList(&devices, core.debugMode, *core.outputDriver) == kCoreOk) {
        core.player->SetDeviceList(devices);
    }
    if (!core.player->Start()) {
        result = kCoreRefused;
    }
    core.ready = true;
    return result;
}

int32_t CoreStartFrontEnd(const CoreFrontEnd& frontEnd, const std::vector<std::u16string>& arguments)
{
    PlayerCore& core = Core();
    core.callback = frontEnd.callback;
    core.dialogs = frontEnd.dialogs;
    core.listCtrl = frontEnd.listCtrl;
    core.listViewCtrl = frontEnd.listViewCtrl;
    core.config = frontEnd.config;
    core.errors = frontEnd.errors;
    core.alerts = frontEnd.alerts;
    return CoreInitialize(arguments);
}

void CoreEndFrontEnd()
{
    PlayerCore& core = Core();
    core.callback = nullptr;
    core.listCtrl = nullptr;
    core.listViewCtrl = nullptr;
    CoreShutdown();
    core.config = nullptr;
    core.errors = nullptr;
    core.alerts = nullptr;
}

void CorePost(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (const auto& player = Core().player) {
        player->Post(message, wParam, lParam);
    }
}

void CoreLeaveCdMode()
{
    PlayerCore& core = Core();
    core.previousCdMode = core.cdMode;
    core.cdMode = false;
    IPlaylistViewCtrl* view = core.listViewCtrl;
    if (view == nullptr) {
        return;
    }
    if (core.currentEntry == -1) {
        view->EnableDragReorder(1);
    }
    view->EnableFileDrop(1);
}

int32_t CoreSourceModeChange()
{
    const PlayerCore& core = Core();
    if (core.cdMode == core.previousCdMode) {
        return kSourceModeUnchanged;
    }
    return core.cdMode ? kSourceModeToCd : kSourceModeToFiles;
}

void CoreReportPlaylistEdit()
{
    CorePost(WM_PLAYER_PLAYLIST_CHANGED, 0, 0);
    if (ITkCallback* view = Core().callback) {
        view->OnSourceMode(CoreSourceModeChange());
    }
    CorePost(WM_PLAYER_REPORT_TIME, 0, 0);
}

void CoreShutdown()
{
    PlayerCore& core = Core();
    if (core.player) {
        core.player->Post(WM_PLAYER_STOP, 0, 1);
        core.player->PostQuit();
        core.player->WaitForExit(10000);
        core.player.reset();
    }
    core.outputDriver.reset();
    core.callback = nullptr;
    core.dialogs = nullptr;
    core.listCtrl = nullptr;
    core.listViewCtrl = nullptr;
    core.cdMode = false;
    core.playState = 0;
    core.currentEntry = -1;
    if (core.playlistStore) {
        core.playlistStore->Clear();
    }
    core.playlist.reset();
    core.playlistStore.reset();
    if (core.plugins) {
        core.plugins->Unload();
    }
    core.plugins.reset();
    core.outputSettings.reset();
    core.ready = false;
}

void CoreGetPlaylist(std::shared_ptr<CPlaylistCtrl>* out)
{
    if (out != nullptr) {
        *out = Core().ready ? Core().playlist : nullptr;
    }
}

void CoreSetupPlaylistView(int32_t x, int32_t y, int32_t width, int32_t height, int32_t widthPlaying,
    int32_t widthArtist, int32_t widthTitle, int32_t widthDuration)
{
    PlayerCore& core = Core();
    IPlaylistListCtrl* list = core.listCtrl;
    if (list == nullptr) {
        return;
    }
    list->MoveWindow(ViewRect{x, y, x + width, y + height});
    list->DeleteAllItems();
    if (core.playlistStore) {
        core.playlistStore->Clear();
    }
    list->DeleteAllColumns();
    list->AddExtendedStyle(kListStyleFullRowSelect | kListStyleGridLines);
    const int32_t widths[] = {widthPlaying, widthArtist, widthTitle, widthDuration};
    for (int32_t column = 0; column < 4; ++column) {
        list->InsertColumn(column, LoadString(25001 + static_cast<uint32_t>(column)), widths[column]);
    }
    if (IPlaylistViewCtrl* view = core.listViewCtrl) {
        view->SetMinColumnWidth(50);
        view->EnableDragReorder(1);
        view->EnableFileDrop(1);
    }
    list->DeleteAllItems();
}

} // namespace sonavel
