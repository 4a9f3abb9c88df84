#include "tests/core/CoreTestSession.h"

#include "core/PlayerCore.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace sonavel::test {

CoreTestSession::CoreTestSession(std::vector<std::u16string> arguments)
{
    setenv("SONAVEL_FILEWRITER_OUT", OutputPath().c_str(), 1);
    setenv("SONAVEL_FILEWRITER_SPEED", "10", 1);
    setenv("SONAVEL_FILEWRITER_TYPE", "18", 1);
    setenv("SONAVEL_FILEWRITER_CHANNELS", "2", 1);
    setenv("SONAVEL_FILEWRITER_BUFFER", "512", 1);
    unsetenv("SONAVEL_FILEWRITER_RATES");
    config_.device.value = u"File Writer";
    CoreStartFrontEnd({this, this, &list_, &list_, &config_, this, this}, arguments);
    CoreSetupPlaylistView(18, 191, 676, 330, 60, 165, 340, 110);
}

CoreTestSession::~CoreTestSession()
{
    CoreEndFrontEnd();
}

void CoreTestSession::AnswerDialog(std::vector<std::u16string> paths)
{
    std::lock_guard guard(mutex_);
    answers_.push_back(std::move(paths));
}

std::vector<FileDialogRequest> CoreTestSession::DialogRequests() const
{
    std::lock_guard guard(mutex_);
    return requests_;
}

bool CoreTestSession::WaitFor(const std::function<bool(const CoreTestSession&)>& done) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [&] {
        lock.unlock();
        const bool met = done(*this);
        lock.lock();
        return met;
    });
}

std::vector<int32_t> CoreTestSession::Statuses() const
{
    std::lock_guard guard(mutex_);
    return statuses_;
}

std::vector<int32_t> CoreTestSession::SourceModes() const
{
    std::lock_guard guard(mutex_);
    return sourceModes_;
}

std::vector<std::u16string> CoreTestSession::Errors() const
{
    std::lock_guard guard(mutex_);
    return errors_;
}

int CoreTestSession::StatusCount(int32_t kind) const
{
    const auto statuses = Statuses();
    return static_cast<int>(std::count(statuses.begin(), statuses.end(), kind));
}

int32_t CoreTestSession::TrackSeconds() const
{
    std::lock_guard guard(mutex_);
    return trackSeconds_;
}

void CoreTestSession::OnTime(int32_t secondsInTrack, int32_t)
{
    Record([&] { trackSeconds_ = secondsInTrack; });
}

void CoreTestSession::Record(const std::function<void()>& change)
{
    {
        std::lock_guard guard(mutex_);
        change();
    }
    changed_.notify_all();
}

void CoreTestSession::OnStatus(int32_t kind, int32_t, std::unique_ptr<PlayStartInfo>)
{
    Record([&] { statuses_.push_back(kind); });
}

void CoreTestSession::OnSourceMode(int32_t change)
{
    Record([&] { sourceModes_.push_back(change); });
}

void CoreTestSession::OnTrackText(std::u16string text, int32_t)
{
    Record([&] { errors_.push_back(std::move(text)); });
}

bool CoreTestSession::AskFileNames(const FileDialogRequest& request, std::vector<std::u16string>* chosen)
{
    std::lock_guard guard(mutex_);
    requests_.push_back(request);
    if (answers_.empty()) {
        return false;
    }
    *chosen = std::move(answers_.front());
    answers_.pop_front();
    return true;
}

void CoreTestSession::ReportError(const char16_t* text)
{
    Record([&] { errors_.emplace_back(text); });
}

void CoreTestSession::ShowAlert(const std::u16string& text)
{
    Record([&] { errors_.push_back(text); });
}

} // namespace sonavel::test
