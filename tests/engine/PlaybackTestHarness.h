#pragma once

#include "app/AppErrorManager.h"
#include "core/PlayerEvent.h"
#include "core/PlaylistCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlaybackAlerts.h"
#include "engine/ThrAudioPlay.h"
#include "tests/output/OutputTestTree.h"
#include "tests/support/TempDir.h"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sonavel::test {

// Everything the playback thread reports, with waits for what a test expects.
class PlaybackRecorder final : public IPlayerEventSink, public ITkCallback, public IAppErrorManager,
                               public IPlaybackAlerts {
public:
    void OnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t value) override;
    void OnPrepare() override { }
    void OnStatus(int32_t, int32_t, std::unique_ptr<PlayStartInfo>) override { }
    void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) override;
    void OnSourceMode(int32_t) override { }
    void OnTrackText(std::u16string text, int32_t deselectAll) override;
    void ReportError(const char16_t* text) override;
    void ShowAlert(const std::u16string& text) override;

    // Waits until `done` holds for the recorded events (at most 20 s); true when it did.
    bool WaitFor(const std::function<bool(const PlaybackRecorder&)>& done);
    int Count(int32_t event) const;
    // Copies taken under the lock, for reading while the playback thread may still report.
    std::vector<PlayStartInfo> Starts() const;
    std::vector<std::u16string> Errors() const;
    // Called on the playback thread at every started event.
    std::function<void(const PlayStartInfo&)> onStarted;

    std::vector<int32_t> events;
    std::vector<PlayStartInfo> starts;
    std::vector<std::u16string> errors;
    std::vector<std::u16string> trackTexts;
    std::vector<std::u16string> alerts;
    int32_t lastTrackSeconds = -1;

private:
    void Changed();
    // Recursive: the wait predicates call the locking readers.
    mutable std::recursive_mutex mutex_;
    std::condition_variable_any changed_;
};

// A WAVE file's samples as the file writer's 32-bit words, frame by frame.
struct WrittenStream {
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<int32_t> words;
    size_t Frames() const { return channels != 0 ? words.size() / channels : 0; }
};

// Reads a WAVE file of 32-bit integer samples as the file writer writes it.
WrittenStream ReadWrittenStream(const std::filesystem::path& path);

// Sample bytes that are never zero, so the stream's start is found after the leading silence.
std::vector<uint8_t> TrackBytes(size_t bytes, uint32_t seed);
// The channel words of interleaved integer PCM: each sample left-justified in 32 bits.
std::vector<int32_t> ExpectedWords(const std::vector<uint8_t>& samples, uint16_t bits);

// A playback thread on the file writer ("File Writer"), writing to one file of a temporary folder.
class PlaybackHarness {
public:
    explicit PlaybackHarness(double speed = 10);
    ~PlaybackHarness();

    // A stereo integer PCM file of `frames` frames; returns its bytes of samples.
    std::vector<uint8_t> AddWave(const std::string& name, uint32_t rate, uint16_t bits, uint32_t frames,
        uint32_t seed);
    // An entry that no source can open.
    void AddBroken(const std::string& name);
    // Plays on the file writer, or with `device` on another registered driver ("Silent Driver").
    void Start(bool ramMode, const std::u16string& device = u"File Writer");
    void Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) { player_->Post(message, wParam, lParam); }
    CThrAudioPlay& Player() { return *player_; }
    CPlaylistCtrl& Playlist() { return *playlist_; }
    PlaybackRecorder& Recorder() { return recorder_; }
    const std::filesystem::path& OutputPath() const { return output_; }

private:
    OutputTestTree tree_;
    TempDir dir_;
    std::filesystem::path output_;
    PlaybackRecorder recorder_;
    std::shared_ptr<CPlaylistCtrl> playlist_;
    std::unique_ptr<CThrAudioPlay> player_;
};

} // namespace sonavel::test
