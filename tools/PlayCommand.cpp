#include "tools/PlayCommand.h"

#include "app/AppConfigData.h"
#include "app/StringTable.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrlImpl.h"
#include "engine/PlayerMessages.h"
#include "engine/ThrAudioPlay.h"
#include "platform/Utf.h"
#include "tools/ConsoleView.h"
#include "tools/HeadlessSession.h"
#include "tools/PlayOptions.h"

#include <csignal>
#include <cstdlib>

namespace sonavel {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void OnInterrupt(int)
{
    interrupted = 1;
}

struct PlayCounts {
    uint64_t tracks = 0;
    uint64_t underruns = 0;
    uint64_t samples = 0;
};

void ApplyOptions(const PlayOptions& options, CAppConfigData& config)
{
    if (options.device) {
        config.device.value = Utf8ToUtf16(*options.device);
    }
    if (options.ramMode) {
        config.ramMode.value = 1;
    }
    if (options.decodeMode) {
        config.decodeMode.value = *options.decodeMode;
    }
}

int Play(const PlayOptions& options, std::ostream& out, std::ostream& err, PlayCounts* counts)
{
    ConsoleView view(out, err);
    HeadlessSession session(view, options.debug, [&options](CAppConfigData& config) { ApplyOptions(options, config); });
    if (!session.Ready()) {
        err << "sonavel-cli: the playback thread could not be started" << std::endl;
        return 1;
    }
    if (options.cdDevice) {
        CoreOpenCd(Utf8ToUtf16(*options.cdDevice));
    }
    session.AddFiles(options.files, err);

    CThrAudioPlay& player = *Core().player;
    player.Post(WM_PLAYER_REPEAT, static_cast<uintptr_t>(options.repeatMode));
    if (options.shuffle) {
        // The shuffled order must exist before Play takes its first entry, so it is made here
        // rather than posted to the playback thread as the menu does.
        CPlaylistCtrlImpl& store = *Core().playlistStore;
        const auto lock = store.Lock();
        store.SetShuffle(true, -1);
    }
    if (options.seekSeconds) {
        view.OnFirstStart([&player, seconds = *options.seekSeconds] { player.Post(WM_PLAYER_SEEK, seconds); });
    }
    if (session.Config().device.value.empty()) {
        err << "error: " << Utf16ToUtf8(LoadString(strings::kNoOutputDevice)) << std::endl;
        return 1;
    }
    if (CorePlay(false) != kCoreOk) {
        err << "error: nothing to play" << std::endl;
        return 1;
    }

    interrupted = 0;
    const auto previousInt = std::signal(SIGINT, OnInterrupt);
    const auto previousTerm = std::signal(SIGTERM, OnInterrupt);
    const bool ended = view.WaitForEnd(&interrupted);
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    if (!ended) {
        CoreStopPlayback();
        view.WaitForEnd(nullptr);
    }
    if (counts != nullptr) {
        *counts = {player.TracksStarted(), player.Underruns(), player.DeliveredSamples()};
    }
    return ended && view.Errors() == 0 ? 0 : 1;
}

std::optional<PlayOptions> Parse(std::span<const std::string> args, bool render, std::ostream& err)
{
    std::string error;
    auto options = ParsePlayOptions(args, render, &error);
    if (!options) {
        err << "sonavel-cli: " << error << std::endl;
    }
    return options;
}

void SetVariable(const char* name, const std::optional<std::string>& value)
{
    if (value) {
        setenv(name, value->c_str(), 1);
    }
}

} // namespace

int RunPlayCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    const auto options = Parse(args, false, err);
    return options ? Play(*options, out, err, nullptr) : 2;
}

int RunRenderCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err)
{
    auto options = Parse(args, true, err);
    if (!options) {
        return 2;
    }
    // The file writer reads its settings when it is opened.
    setenv("SONAVEL_FILEWRITER_OUT", options->out.c_str(), 1);
    setenv("SONAVEL_FILEWRITER_SPEED", options->speed.c_str(), 1);
    SetVariable("SONAVEL_FILEWRITER_TYPE", options->type);
    SetVariable("SONAVEL_FILEWRITER_CHANNELS", options->channels);
    SetVariable("SONAVEL_FILEWRITER_BUFFER", options->buffer);
    options->device = "File Writer";
    PlayCounts counts;
    const int status = Play(*options, out, err, &counts);
    out << "tracks: " << counts.tracks << ", underruns: " << counts.underruns << ", samples: " << counts.samples
        << std::endl;
    return status;
}

} // namespace sonavel
