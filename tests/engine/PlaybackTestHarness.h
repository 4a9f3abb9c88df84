#pragma once

#include "app/AppErrorManager.h"
#include "core/PlayerEvent.h"
#include "core/PlaylistCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlaybackAlerts.h"
#include "engine/AsioSampleType.h"
#include "engine/ThrAudioPlay.h"
#include "output/DevNameInfo.h"
#include "tests/output/OutputTestTree.h"
#include "tests/support/TempDir.h"
#include "tests/support/WrittenStream.h"

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

bool Stopped(const PlaybackRecorder& recorder);

// The stream holds the 0.1 s lead-in (or more silence), then exactly `expected`, then only silence.
void ExpectStreamHolds(const WrittenStream& stream, const std::vector<int32_t>& expected, uint32_t rate);

// A DSDIFF file as the file writer writes the DSD sample types: one byte per channel per frame,
// the earliest bit in the most significant place.
struct WrittenDsd {
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<uint8_t> bytes;
};

WrittenDsd ReadWrittenDsd(const std::filesystem::path& path);

// Sample bytes that are never zero, so the stream's start is found after the leading silence.
std::vector<uint8_t> TrackBytes(size_t bytes, uint32_t seed);

// How the file writer plays: its clock as a multiple of real time (0: as fast as it can), the
// ASIO sample type of its channels, their number, the buffer size in samples and the rates it
// accepts (comma-separated; empty: every PCM and native DSD rate).
struct FileWriterSetup {
    double speed = 10;
    int32_t type = ASIOSTInt32LSB;
    int channels = 2;
    int bufferSize = 512;
    std::string rates;
};

inline FileWriterSetup AtSpeed(double speed)
{
    FileWriterSetup setup;
    setup.speed = speed;
    return setup;
}

// The file writer registered as "File Writer" (and the silent driver as "Silent Driver") in a
// test tree of its own, writing a file sequence into a temporary folder. Its settings reach the
// driver through the environment, read by every new driver instance.
class FileWriterOutput {
public:
    explicit FileWriterOutput(const FileWriterSetup& setup);

    // The file writer also as the maker's driver, with the USB hardware of the first device
    // profile present, so that the device list holds it with its rate masks.
    void AddKestraneDevice();
    CDevNameInfo DeviceList() const;
    std::shared_ptr<CAsioWrapperImpl> Wrapper() const;
    const TempDir& Dir() const { return dir_; }
    // The files of the sequence that hold samples, in sequence order. A start of the output can
    // open the device at the rate it had before it opens it at the track's: an instance that
    // never played leaves a file without samples, or none.
    std::vector<std::filesystem::path> Outputs() const;
    // The last file that holds samples.
    std::filesystem::path LastOutput() const;

private:
    OutputTestTree tree_;
    TempDir dir_;
    std::filesystem::path output_;
};

// The byte native DSD output idles with.
inline constexpr uint8_t kDsdIdleByte = 0x96;

inline constexpr char16_t kKestraneDevice[] = u"KESTRANE ASIO USB DRIVER";

// A playback thread on the file writer, with the plug-ins of the program folder.
class PlaybackHarness {
public:
    explicit PlaybackHarness(double speed = 10) : PlaybackHarness(AtSpeed(speed)) { }
    explicit PlaybackHarness(const FileWriterSetup& setup);
    ~PlaybackHarness();

    // A stereo integer PCM file of `frames` frames; returns its bytes of samples.
    std::vector<uint8_t> AddWave(const std::string& name, uint32_t rate, uint16_t bits, uint32_t frames,
        uint32_t seed);
    // A DSDIFF file of `bytesPerChannel` bytes per channel at the DSD bit rate `dsdRate`; returns
    // its sound bytes as the file holds them (one byte per channel per frame), none of them the
    // idle byte 0x96.
    std::vector<uint8_t> AddDff(const std::string& name, uint32_t dsdRate, uint16_t channels,
        uint32_t bytesPerChannel, uint32_t seed);
    // An entry for a file the test made itself (a source of its extension reads it).
    void AddFile(const std::filesystem::path& path);
    // An entry that no source can open.
    void AddBroken(const std::string& name);
    // Reads the output as it is when entry `entryIndex` starts, into `into`: what the tracks
    // before it left, since the file writer may write the next output under the same name.
    void ReadOutputWhenStarting(int32_t entryIndex, WrittenStream& into);
    // Native DSD (kDecodeModeNativeDsd) or DSD over PCM (0) from the next start on.
    void SetDecodeMode(int32_t mode) { decodeMode_ = mode; }
    // Plays on the file writer, or with `device` on another registered driver ("Silent Driver").
    void Start(bool ramMode, const std::u16string& device = u"File Writer");
    void Post(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) { player_->Post(message, wParam, lParam); }
    CThrAudioPlay& Player() { return *player_; }
    CPlaylistCtrl& Playlist() { return *playlist_; }
    PlaybackRecorder& Recorder() { return recorder_; }
    FileWriterOutput& Output() { return output_; }
    const TempDir& Dir() const { return output_.Dir(); }
    std::filesystem::path LastOutput() const { return output_.LastOutput(); }
    const std::shared_ptr<CPluginCtrl>& Plugins() const { return plugins_; }

private:
    FileWriterOutput output_;
    std::shared_ptr<CPluginCtrl> plugins_;
    int32_t decodeMode_ = 0;
    PlaybackRecorder recorder_;
    std::shared_ptr<CPlaylistCtrl> playlist_;
    std::unique_ptr<CThrAudioPlay> player_;
};

} // namespace sonavel::test
