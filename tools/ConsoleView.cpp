#include "tools/ConsoleView.h"

#include "app/TextFormat.h"
#include "core/EntryDuration.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrlImpl.h"
#include "platform/Utf.h"

#include <chrono>

namespace sonavel {

namespace {

std::string Clock(int32_t seconds)
{
    return Utf16ToUtf8(FormatText(u"%d:%02d", {int64_t{seconds / 60}, int64_t{seconds % 60}}));
}

// A stop that skips an unplayable entry leaves its played mark; the stop that ends playback
// clears every mark first.
bool PlaybackEnded()
{
    const auto& store = Core().playlistStore;
    if (!store) {
        return true;
    }
    const auto lock = store->Lock();
    MusicTrackInfo entry;
    for (int32_t i = 0; i < store->GetEntryCount(); ++i) {
        if (store->GetEntry(i, &entry) == 0 && entry.played) {
            return false;
        }
    }
    return true;
}

} // namespace

ConsoleView::ConsoleView(std::ostream& out, std::ostream& err) : out_(out), err_(err) { }

bool ConsoleView::WaitForEnd(const volatile std::sig_atomic_t* interrupted)
{
    std::unique_lock lock(mutex_);
    while (!done_) {
        if (interrupted != nullptr && *interrupted != 0) {
            return false;
        }
        // Signals cannot notify a condition variable: look at the flag a few times a second.
        ended_.wait_for(lock, std::chrono::milliseconds(200));
    }
    return true;
}

int ConsoleView::Errors() const
{
    std::lock_guard guard(mutex_);
    return errors_;
}

void ConsoleView::OnPrepare()
{
    std::lock_guard guard(mutex_);
    prepared_ = true;
}

void ConsoleView::OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo)
{
    std::function<void()> first;
    {
        std::lock_guard guard(mutex_);
        switch (kind) {
        case kStatusStarted:
            if (startInfo) {
                PrintStart(*startInfo);
            }
            if (!started_) {
                started_ = true;
                first = std::move(onFirstStart_);
            }
            break;
        case kStatusStopped:
            // The stop that opening a disc posts comes before any play request: it ends nothing.
            if (prepared_ && PlaybackEnded()) {
                out_ << "stopped" << std::endl;
                done_ = true;
                ended_.notify_all();
            }
            break;
        case kStatusPaused:
            out_ << (value != 0 ? "resumed" : "paused") << std::endl;
            break;
        case kStatusLoading:
            if (value != lastPercent_ && (value % 25 == 0)) {
                out_ << "loading " << value << "%" << std::endl;
            }
            lastPercent_ = value;
            break;
        default:
            break;
        }
    }
    if (first) {
        first();
    }
}

void ConsoleView::PrintStart(const PlayStartInfo& info)
{
    MusicTrackInfo entry;
    const auto& store = Core().playlistStore;
    if (!store || store->GetEntry(info.entryIndex, &entry) != 0) {
        return;
    }
    const WAVEFORMATEX& format = entry.format;
    out_ << "track " << info.entryIndex + 1 << "/" << store->GetEntryCount() << ": "
         << Utf16ToUtf8(entry.title.empty() ? entry.displayName : entry.title);
    if (!entry.artist.empty()) {
        out_ << " - " << Utf16ToUtf8(entry.artist);
    }
    out_ << " [" << Utf16ToUtf8(entry.formatName) << ", " << format.nSamplesPerSec << " Hz, "
         << format.wBitsPerSample << " bit, " << format.nChannels << " ch, " << Clock(info.lengthSeconds) << "]"
         << std::endl;
    lastSecond_ = -1;
}

void ConsoleView::OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist)
{
    std::lock_guard guard(mutex_);
    if (secondsInTrack == lastSecond_) {
        return;
    }
    lastSecond_ = secondsInTrack;
    out_ << "  " << Clock(secondsInTrack) << " (playlist " << Clock(secondsInPlaylist) << ")" << std::endl;
}

void ConsoleView::OnTrackText(std::u16string text, int32_t)
{
    std::lock_guard guard(mutex_);
    err_ << "cannot play: " << Utf16ToUtf8(text) << std::endl;
    ++errors_;
}

void ConsoleView::ReportError(const char16_t* text)
{
    std::lock_guard guard(mutex_);
    err_ << "error: " << Utf16ToUtf8(text != nullptr ? text : u"") << std::endl;
    ++errors_;
}

void ConsoleView::ShowAlert(const std::u16string& text)
{
    std::lock_guard guard(mutex_);
    err_ << "error: " << Utf16ToUtf8(text) << std::endl;
    ++errors_;
}

} // namespace sonavel
