#pragma once

#include "app/AppErrorManager.h"
#include "core/TkCallback.h"
#include "engine/PlaybackAlerts.h"

#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <functional>
#include <mutex>
#include <ostream>

namespace sonavel {

// The headless front end's view: prints what the player reports (track starts, the elapsed time,
// every error text) and tells the waiting main thread when playback has ended. Called on the
// engine's threads; every print holds one lock so lines never interleave.
class ConsoleView final : public ITkCallback, public IAppErrorManager, public IPlaybackAlerts {
  public:
    ConsoleView(std::ostream& out, std::ostream& err);

    // Called once, on the playback thread, when the first track has started.
    void OnFirstStart(std::function<void()> action) { onFirstStart_ = std::move(action); }
    // Waits until playback stopped for good (not just to skip an unplayable entry); false when
    // *interrupted (a signal handler's flag, polled; may be null) turned non-zero first.
    bool WaitForEnd(const volatile std::sig_atomic_t* interrupted);
    int Errors() const;

    void OnPrepare() override;
    void OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo) override;
    void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) override;
    void OnSourceMode(int32_t) override { }
    void OnTrackText(std::u16string text, int32_t deselectAll) override;
    void ReportError(const char16_t* text) override;
    void ShowAlert(const std::u16string& text) override;

  private:
    void PrintStart(const PlayStartInfo& info);

    std::ostream& out_;
    std::ostream& err_;
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    bool prepared_ = false;
    bool started_ = false;
    int errors_ = 0;
    int32_t lastSecond_ = -1;
    int32_t lastPercent_ = -1;
    std::function<void()> onFirstStart_;
};

} // namespace sonavel
