#pragma once

#include "sources/MusicTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sonavel {

class CAppConfigData;
class CAsioWrapperImpl;
class CDevNameInfo;
class CMusicData;
class CPlaylistCtrl;
class CPlaylistCtrlImpl;
class CPluginCtrl;
class CThrAudioPlay;
class IAppErrorManager;
class ICoreDialogs;
class IPlaybackAlerts;
class IPlaylistListCtrl;
class IPlaylistViewCtrl;
class ITkCallback;
class OutputSettingsStore;
struct PlayStartInfo;

// Results of the core's functions.
inline constexpr int32_t kCoreOk = 0;
inline constexpr int32_t kCoreNotReady = -1;
inline constexpr int32_t kCoreNullArgument = -2;
inline constexpr int32_t kCoreRefused = -3;
inline constexpr int32_t kCoreEmptyList = -4;

// What the properties dialog and the LCD show of an entry.
struct TrackDetails {
    std::u16string displayName;
    std::u16string title;
    std::u16string artist;
    std::u16string formatName;
    uint32_t sampleRate = 0;
    int32_t bitsPerSample = 0;
    // The entry's duration rounded to whole seconds, halves up.
    double durationSeconds = 0;
};

// One name, extension text and version per loaded plug-in, for the About box.
struct PluginListItem {
    std::u16string name;
    std::u16string extension;
    std::u16string version;
};

// The process-wide state between the user interface and the playback thread. The front end sets
// the borrowed pointers (callback, dialogs, list windows, configuration, error sinks) before
// CoreInitialize and clears callback and the windows before CoreShutdown. Fields read by the
// playback thread are atomic.
struct PlayerCore {
    std::atomic<bool> ready{false};
    std::atomic<ITkCallback*> callback{nullptr};
    ICoreDialogs* dialogs = nullptr;
    // The playback thread reaches the list rows through the event bridge.
    std::atomic<IPlaylistViewCtrl*> listViewCtrl{nullptr};
    std::atomic<IPlaylistListCtrl*> listCtrl{nullptr};
    std::shared_ptr<CPlaylistCtrl> playlist;
    std::shared_ptr<CPluginCtrl> plugins;
    bool debugMode = false;
    std::atomic<bool> cdMode{false};
    bool previousCdMode = false;
    std::atomic<int32_t> playState{0};
    std::atomic<int32_t> currentEntry{-1};
    std::atomic<int32_t> currentLength{0};
    std::shared_ptr<CThrAudioPlay> player;
    std::vector<std::u16string> playableExtensions;
    std::vector<std::u16string> playlistExtensions;
    std::shared_ptr<CPlaylistCtrlImpl> playlistStore;
    std::shared_ptr<CAsioWrapperImpl> outputDriver;

    // The front end's services: the configuration the core reads ("Device") and writes ("File"),
    // where errors and alerts go. Borrowed; set before CoreInitialize.
    CAppConfigData* config = nullptr;
    IAppErrorManager* errors = nullptr;
    IPlaybackAlerts* alerts = nullptr;
    // The engine's copy of the output settings (made by CoreInitialize from the configuration).
    std::shared_ptr<OutputSettingsStore> outputSettings;
};

PlayerCore& Core();

// What a front end lends the core for its lifetime: its view, dialogs, list window and services.
struct CoreFrontEnd {
    ITkCallback* callback = nullptr;
    ICoreDialogs* dialogs = nullptr;
    IPlaylistListCtrl* listCtrl = nullptr;
    IPlaylistViewCtrl* listViewCtrl = nullptr;
    CAppConfigData* config = nullptr;
    IAppErrorManager* errors = nullptr;
    IPlaybackAlerts* alerts = nullptr;
};

// Lends the front end's pointers to the core and initialises it (CoreInitialize's result).
int32_t CoreStartFrontEnd(const CoreFrontEnd& frontEnd, const std::vector<std::u16string>& arguments);
// Silences the engine towards the view, shuts the core down and takes the pointers back.
void CoreEndFrontEnd();

// Lifecycle. arguments: the process's argument vector, program name first.
int32_t CoreInitialize(const std::vector<std::u16string>& arguments);
void CoreShutdown();
void CoreGetPlaylist(std::shared_ptr<CPlaylistCtrl>* out);
void CoreSetupPlaylistView(int32_t x, int32_t y, int32_t width, int32_t height, int32_t widthPlaying,
    int32_t widthArtist, int32_t widthTitle, int32_t widthDuration);

// Playback commands.
int32_t CorePlay(bool selectedRow);
void CorePlayRow(int32_t row);
int32_t CoreStopPlayback();
void CoreClearRowImages();
void CoreInsertRow(const MusicTrackInfo& entry, int32_t row);
// Copies the configuration's output settings to the engine and tells the playback thread.
void CoreApplyOutputSettings();

// Queries.
int32_t CoreGetTrackDetails(bool selectedRow, TrackDetails* out);
int32_t CoreGetTotalDuration(int32_t* seconds);

// Devices and plug-ins.
int32_t CoreCreateDeviceList(std::unique_ptr<CDevNameInfo>* out);
int32_t CoreCreatePluginList(std::vector<PluginListItem>* out);
bool CoreTestDevice(const std::u16string& name);
bool CoreOpenControlPanel(const std::u16string& name);
void CoreReleaseOutputDriver();

// Adding files.
int32_t CoreSourceTypeOf(std::u16string_view path);
std::unique_ptr<CMusicData> CoreCreateMusicData(std::u16string_view path);
bool CoreHasListedExtension(std::u16string_view path, const std::vector<std::u16string>& list);
int32_t CoreAddFileAt(const std::u16string& path, int32_t at);
std::u16string CoreBuildOpenFilter();
// The paths of a drop on the list, in the order the file manager gave them.
int32_t CoreDropFiles(const std::vector<std::u16string>& paths);
int32_t CoreAddPaths(const std::vector<std::u16string>& paths, int32_t at);

// Playlist files.
bool CoreWritePlaylistFile(const std::u16string& path);
bool CoreReadPlaylistFile(const std::u16string& path, std::vector<MusicTrackInfo>* out);
bool CoreLoadPlaylistFile(const std::u16string& path);
int32_t CoreLoadPlaylist();
int32_t CoreSavePlaylist();

// Playlist commands.
void CoreOpenFiles();
int32_t CoreAddFiles();
void CoreRemoveSelected();
void CoreRemoveSelectedByKey();
int32_t CoreNewPlaylist();
// device: the CD drive's device path, such as /dev/sr0.
void CoreOpenCd(const std::u16string& device);
void CoreMoveSelectedRows(int32_t target);

// The engine's events, called on the playback thread (and loader threads for progress).
void CoreOnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t value);

} // namespace sonavel
