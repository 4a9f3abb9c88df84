#include "tests/engine/PlaybackTestHarness.h"

#include "engine/PlayerMessages.h"
#include "output/AsioWrapperImpl.h"
#include "drivers/filewriter/SampleFile.h"
#include "plugin-host/PluginCtrl.h"
#include "sources/SourceFactory.h"
#include "tests/support/DffBuilder.h"
#include "tests/support/WaveBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace sonavel::test {

void PlaybackRecorder::Changed()
{
    changed_.notify_all();
}

void PlaybackRecorder::OnPlayerEvent(int32_t event, std::unique_ptr<PlayStartInfo> startInfo, int32_t)
{
    if (event == kPlayerEventStarted && startInfo && onStarted) {
        onStarted(*startInfo);
    }
    std::lock_guard guard(mutex_);
    events.push_back(event);
    if (startInfo) {
        starts.push_back(*startInfo);
    }
    Changed();
}

void PlaybackRecorder::OnTime(int32_t secondsInTrack, int32_t)
{
    std::lock_guard guard(mutex_);
    lastTrackSeconds = secondsInTrack;
    Changed();
}

void PlaybackRecorder::OnTrackText(std::u16string text, int32_t)
{
    std::lock_guard guard(mutex_);
    trackTexts.push_back(std::move(text));
    Changed();
}

void PlaybackRecorder::ReportError(const char16_t* text)
{
    std::lock_guard guard(mutex_);
    errors.emplace_back(text);
    Changed();
}

void PlaybackRecorder::ShowAlert(const std::u16string& text)
{
    std::lock_guard guard(mutex_);
    alerts.push_back(text);
    Changed();
}

bool PlaybackRecorder::WaitFor(const std::function<bool(const PlaybackRecorder&)>& done)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return done(*this); });
}

int PlaybackRecorder::Count(int32_t event) const
{
    std::lock_guard guard(mutex_);
    int count = 0;
    for (int32_t recorded : events) {
        count += recorded == event ? 1 : 0;
    }
    return count;
}

std::vector<PlayStartInfo> PlaybackRecorder::Starts() const
{
    std::lock_guard guard(mutex_);
    return starts;
}

std::vector<std::u16string> PlaybackRecorder::Errors() const
{
    std::lock_guard guard(mutex_);
    return errors;
}


WrittenDsd ReadWrittenDsd(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    WrittenDsd stream;
    const auto be = [&](size_t at, int count) {
        uint64_t value = 0;
        for (int i = 0; i < count && at + static_cast<size_t>(i) < bytes.size(); ++i) {
            value = value << 8 | bytes[at + static_cast<size_t>(i)];
        }
        return value;
    };
    if (bytes.size() < 16 || std::memcmp(bytes.data(), "FRM8", 4) != 0) {
        return stream;
    }
    // The form's chunks FVER, PROP and the sound; PROP's own chunks (FS, CHNL, CMPR) follow its
    // form type.
    for (size_t at = 16; at + 12 <= bytes.size();) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const uint64_t size = be(at + 4, 8);
        const size_t body = at + 12;
        if (id == "PROP") {
            at = body + 4;
            continue;
        }
        if (id == "FS  ") {
            stream.rate = static_cast<uint32_t>(be(body, 4));
        } else if (id == "CHNL") {
            stream.channels = static_cast<uint16_t>(be(body, 2));
        } else if (id == "DSD ") {
            const auto end = static_cast<size_t>(std::min<uint64_t>(bytes.size(), body + size));
            stream.bytes.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                bytes.begin() + static_cast<std::ptrdiff_t>(end));
            break;
        }
        at = body + size + (size & 1);
    }
    return stream;
}

std::vector<uint8_t> TrackBytes(size_t bytes, uint32_t seed)
{
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<uint8_t>((i * 7 + seed) % 251 + 1);
    }
    return out;
}

namespace {

// Stereo frames of silence before the first frame with a non-zero word.
size_t LeadingSilentFrames(const std::vector<int32_t>& words)
{
    const auto first = std::find_if(words.begin(), words.end(), [](int32_t word) { return word != 0; });
    return static_cast<size_t>(first - words.begin()) / 2;
}

} // namespace

bool Stopped(const PlaybackRecorder& recorder)
{
    return recorder.Count(kPlayerEventStopped) > 0;
}

void ExpectStreamHolds(const WrittenStream& stream, const std::vector<int32_t>& expected, uint32_t rate)
{
    ASSERT_EQ(stream.channels, 2);
    EXPECT_EQ(stream.rate, rate);
    // Silent frames at the start of the track itself belong to it, not to the lead-in.
    const size_t silent = LeadingSilentFrames(stream.words);
    const size_t ownSilence = LeadingSilentFrames(expected);
    ASSERT_GE(silent, ownSilence);
    const size_t lead = silent - ownSilence;
    EXPECT_GE(lead, rate / 10) << "the output starts with the 0.1 s lead-in";
    const size_t start = lead * 2;
    ASSERT_GE(stream.words.size(), start + expected.size());
    const auto mismatch =
        std::mismatch(expected.begin(), expected.end(), stream.words.begin() + static_cast<std::ptrdiff_t>(start));
    EXPECT_TRUE(mismatch.first == expected.end())
        << "first difference at word " << (mismatch.first - expected.begin()) << " of " << expected.size();
    EXPECT_TRUE(std::all_of(stream.words.begin() + static_cast<std::ptrdiff_t>(start + expected.size()),
        stream.words.end(), [](int32_t word) { return word == 0; }));
}

FileWriterOutput::FileWriterOutput(const FileWriterSetup& setup) : output_(dir_.Path() / "out.wav")
{
    tree_.AddRegistration("writer", "File Writer", FileWriterModule());
    tree_.AddRegistration("silent", "Silent Driver", SONAVEL_SILENT_DRIVER_MODULE);
    setenv("SONAVEL_FILEWRITER_OUT", output_.c_str(), 1);
    setenv("SONAVEL_FILEWRITER_SPEED", std::to_string(setup.speed).c_str(), 1);
    setenv("SONAVEL_FILEWRITER_TYPE", std::to_string(setup.type).c_str(), 1);
    setenv("SONAVEL_FILEWRITER_CHANNELS", std::to_string(setup.channels).c_str(), 1);
    setenv("SONAVEL_FILEWRITER_BUFFER", std::to_string(setup.bufferSize).c_str(), 1);
    if (setup.rates.empty()) {
        unsetenv("SONAVEL_FILEWRITER_RATES");
    } else {
        setenv("SONAVEL_FILEWRITER_RATES", setup.rates.c_str(), 1);
    }
}

void FileWriterOutput::AddKestraneDevice()
{
    tree_.AddRegistration("kestrane", "KESTRANE ASIO USB DRIVER", FileWriterModule());
    tree_.AddUsbDevice("1-1", "0b7e", "4a31");
}

CDevNameInfo FileWriterOutput::DeviceList() const
{
    return CDevNameInfo::Build(false, DeviceSources{tree_.Locations(), nullptr});
}

std::shared_ptr<CAsioWrapperImpl> FileWriterOutput::Wrapper() const
{
    return std::make_shared<CAsioWrapperImpl>(tree_.Locations());
}

std::vector<std::filesystem::path> FileWriterOutput::Outputs() const
{
    std::vector<std::filesystem::path> files;
    for (int number = 1; std::filesystem::exists(NumberedPath(output_, number)); ++number) {
        const auto path = NumberedPath(output_, number);
        if (!ReadWrittenStream(path).words.empty() || !ReadWrittenDsd(path).bytes.empty()) {
            files.push_back(path);
        }
    }
    return files;
}

std::filesystem::path FileWriterOutput::LastOutput() const
{
    const auto files = Outputs();
    return files.empty() ? output_ : files.back();
}

PlaybackHarness::PlaybackHarness(const FileWriterSetup& setup)
    : output_(setup), plugins_(std::make_shared<CPluginCtrl>()),
      playlist_(std::make_shared<CPlaylistCtrl>(std::make_shared<CPlaylistCtrlImpl>()))
{
    plugins_->Load();
}

PlaybackHarness::~PlaybackHarness()
{
    if (player_) {
        player_->Post(WM_PLAYER_STOP, 0, 1);
        player_->PostQuit();
        player_->WaitForExit(10000);
        player_.reset();
    }
}

void PlaybackHarness::AddFile(const std::filesystem::path& path)
{
    auto source = CreateSourceForPath(path.u16string(), plugins_);
    MusicOpenParams params;
    params.path = path.u16string();
    MusicTrackInfo info;
    if (source && source->Open(&params) == 0) {
        source->GetTrackInfo(0, &info);
    }
    info.path = path.u16string();
    playlist_->Store().InsertAt(info, playlist_->Store().GetEntryCount());
}

std::vector<uint8_t> PlaybackHarness::AddWave(
    const std::string& name, uint32_t rate, uint16_t bits, uint32_t frames, uint32_t seed)
{
    const std::vector<uint8_t> samples = TrackBytes(size_t{frames} * 2 * (bits / 8), seed);
    AddFile(Dir().Write(name, WaveBuilder().Format(1, 2, rate, bits).Data(samples).Build()));
    return samples;
}

std::vector<uint8_t> PlaybackHarness::AddDff(
    const std::string& name, uint32_t dsdRate, uint16_t channels, uint32_t bytesPerChannel, uint32_t seed)
{
    std::vector<uint8_t> sound = TrackBytes(size_t{bytesPerChannel} * channels, seed);
    for (uint8_t& byte : sound) {
        byte = byte == kDsdIdleByte ? static_cast<uint8_t>(kDsdIdleByte + 1) : byte;
    }
    AddFile(Dir().Write(name, DffBuilder().Properties(dsdRate, channels).Sound(sound).Build()));
    return sound;
}

void PlaybackHarness::ReadOutputWhenStarting(int32_t entryIndex, WrittenStream& into)
{
    recorder_.onStarted = [this, entryIndex, &into](const PlayStartInfo& info) {
        if (info.entryIndex == entryIndex) {
            into = ReadWrittenStream(LastOutput());
        }
    };
}

void PlaybackHarness::AddBroken(const std::string& name)
{
    const auto path = Dir().Write(name, std::vector<uint8_t>{'n', 'o', 'p', 'e'});
    MusicTrackInfo info;
    info.path = path.u16string();
    info.sourceType = kSourceWave;
    info.title = u"Broken";
    info.format.nSamplesPerSec = 44100;
    playlist_->Store().InsertAt(info, playlist_->Store().GetEntryCount());
}

void PlaybackHarness::Start(bool ramMode, const std::u16string& device)
{
    auto settings = std::make_shared<OutputSettingsStore>();
    OutputSettings values;
    values.deviceName = device;
    values.ramMode = ramMode ? 1 : 0;
    values.decodeMode = decodeMode_;
    settings->Set(values);
    PlaybackContext context;
    context.playlist = playlist_;
    context.plugins = plugins_;
    context.wrapper = output_.Wrapper();
    context.settings = settings;
    context.events = &recorder_;
    context.errors = &recorder_;
    context.alerts = &recorder_;
    context.idleMs = 0;
    context.collapseMs = 20;
    player_ = std::make_unique<CThrAudioPlay>(context);
    player_->SetCallback(&recorder_);
    player_->SetDeviceList(output_.DeviceList());
    player_->Start();
}

} // namespace sonavel::test
