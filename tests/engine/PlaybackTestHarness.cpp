#include "tests/engine/PlaybackTestHarness.h"

#include "engine/PlayerMessages.h"
#include "output/AsioWrapperImpl.h"
#include "sources/SourceFactory.h"
#include "tests/support/WaveBuilder.h"

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

namespace {

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

} // namespace

WrittenStream ReadWrittenStream(const std::filesystem::path& path)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    WrittenStream stream;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id(reinterpret_cast<const char*>(bytes.data() + at), 4);
        const uint32_t size = Le32(bytes, at + 4);
        const size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            std::memcpy(&stream.channels, bytes.data() + body + 2, 2);
            stream.rate = Le32(bytes, body + 4);
        } else if (id == "data") {
            const size_t end = std::min(bytes.size(), body + size);
            stream.words.resize((end - body) / 4);
            std::memcpy(stream.words.data(), bytes.data() + body, stream.words.size() * 4);
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

std::vector<int32_t> ExpectedWords(const std::vector<uint8_t>& samples, uint16_t bits)
{
    const size_t bytesPerSample = bits / 8;
    std::vector<int32_t> words;
    for (size_t at = 0; at + bytesPerSample <= samples.size(); at += bytesPerSample) {
        uint32_t value = 0;
        for (size_t b = 0; b < bytesPerSample; ++b) {
            value |= uint32_t{samples[at + b]} << (8 * b);
        }
        words.push_back(static_cast<int32_t>(value << (32 - bits)));
    }
    return words;
}

PlaybackHarness::PlaybackHarness(double speed)
    : output_(dir_.Path() / "out.wav"), playlist_(std::make_shared<CPlaylistCtrl>(std::make_shared<CPlaylistCtrlImpl>()))
{
    tree_.AddRegistration("writer", "File Writer", FileWriterModule());
    tree_.AddRegistration("silent", "Silent Driver", SONAVEL_SILENT_DRIVER_MODULE);
    setenv("SONAVEL_FILEWRITER_OUT", output_.c_str(), 1);
    setenv("SONAVEL_FILEWRITER_SPEED", std::to_string(speed).c_str(), 1);
    setenv("SONAVEL_FILEWRITER_TYPE", "18", 1);
    setenv("SONAVEL_FILEWRITER_CHANNELS", "2", 1);
    setenv("SONAVEL_FILEWRITER_BUFFER", "512", 1);
    unsetenv("SONAVEL_FILEWRITER_RATES");
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

std::vector<uint8_t> PlaybackHarness::AddWave(
    const std::string& name, uint32_t rate, uint16_t bits, uint32_t frames, uint32_t seed)
{
    const std::vector<uint8_t> samples = TrackBytes(size_t{frames} * 2 * (bits / 8), seed);
    const auto path = dir_.Write(name, WaveBuilder().Format(1, 2, rate, bits).Data(samples).Build());
    auto source = CreateSourceForPath(path.u16string(), nullptr);
    MusicOpenParams params;
    params.path = path.u16string();
    MusicTrackInfo info;
    if (source && source->Open(&params) == 0) {
        source->GetTrackInfo(0, &info);
    }
    info.path = path.u16string();
    playlist_->Store().InsertAt(info, playlist_->Store().GetEntryCount());
    return samples;
}

void PlaybackHarness::AddBroken(const std::string& name)
{
    const auto path = dir_.Write(name, std::vector<uint8_t>{'n', 'o', 'p', 'e'});
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
    settings->Set(values);
    PlaybackContext context;
    context.playlist = playlist_;
    context.wrapper = std::make_shared<CAsioWrapperImpl>(tree_.Locations());
    context.settings = settings;
    context.events = &recorder_;
    context.errors = &recorder_;
    context.alerts = &recorder_;
    context.idleMs = 0;
    context.collapseMs = 20;
    player_ = std::make_unique<CThrAudioPlay>(context);
    player_->SetCallback(&recorder_);
    player_->Start();
}

} // namespace sonavel::test
