#pragma once

#include "app/AppConfigData.h"
#include "app/AppErrorManager.h"
#include "core/CoreDialogs.h"
#include "core/MemoryListCtrl.h"
#include "core/TkCallback.h"
#include "engine/PlaybackAlerts.h"
#include "tests/support/TempDir.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace sonavel::test {

// The player core started headless for one test, as a front end starts it: an in-memory list
// window, a configuration without a file whose device is the file writer (writing into a
// temporary folder at ten times real time), and a view that records what it is told and answers
// file dialogs from a queue. Shuts the core down at the end.
class CoreTestSession final : public ITkCallback, public ICoreDialogs, public IAppErrorManager,
                              public IPlaybackAlerts {
  public:
    explicit CoreTestSession(std::vector<std::u16string> arguments = {u"sonavel-test"});
    ~CoreTestSession() override;

    CMemoryListCtrl& List() { return list_; }
    CAppConfigData& Config() { return config_; }
    const TempDir& Dir() const { return dir_; }
    std::filesystem::path OutputPath() const { return dir_.Path() / "out.wav"; }

    // The next file dialog is confirmed with these paths; without an answer it is cancelled.
    void AnswerDialog(std::vector<std::u16string> paths);
    std::vector<FileDialogRequest> DialogRequests() const;

    // Waits (at most 20 s) until `done` holds for what was recorded; true when it did.
    bool WaitFor(const std::function<bool(const CoreTestSession&)>& done) const;
    // Copies taken under the lock.
    std::vector<int32_t> Statuses() const;
    std::vector<int32_t> SourceModes() const;
    std::vector<std::u16string> Errors() const;
    int StatusCount(int32_t kind) const;
    // The last elapsed time of the current track the engine reported, -1 before any.
    int32_t TrackSeconds() const;

    void OnPrepare() override { }
    void OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo) override;
    void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) override;
    void OnSourceMode(int32_t change) override;
    void OnTrackText(std::u16string text, int32_t deselectAll) override;
    bool AskFileNames(const FileDialogRequest& request, std::vector<std::u16string>* chosen) override;
    void ReportError(const char16_t* text) override;
    void ShowAlert(const std::u16string& text) override;

  private:
    void Record(const std::function<void()>& change);

    TempDir dir_;
    CMemoryListCtrl list_;
    CAppConfigData config_;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<int32_t> statuses_;
    std::vector<int32_t> sourceModes_;
    std::vector<std::u16string> errors_;
    int32_t trackSeconds_ = -1;
    std::deque<std::vector<std::u16string>> answers_;
    std::vector<FileDialogRequest> requests_;
};

} // namespace sonavel::test
