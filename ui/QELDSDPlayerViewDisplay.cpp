// The reporting side of the main view: what the player's reports do to the title, the time text,
// the seek bar, the LCD, the LEDs and the menu.
#include "ui/QELDSDPlayerView.h"

#include "app/StringTable.h"
#include "core/PlayerCore.h"
#include "core/PlaylistCtrl.h"
#include "engine/PlayerMessages.h"
#include "ui/CommandIds.h"
#include "ui/CustomButton.h"
#include "ui/CustomLED.h"
#include "ui/ExListCtrl.h"
#include "ui/LcdDisplayAreaCtrl.h"
#include "ui/MainMenu.h"
#include "ui/PlayerDisplayRules.h"
#include "ui/QtText.h"
#include "ui/StatusTextArea.h"

#include <QCursor>
#include <QMenu>
#include <QProgressBar>
#include <QToolTip>

#include <chrono>

namespace sonavel {
namespace {

constexpr int kConfigureMenu = 2;

uint32_t TickCount()
{
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int32_t TotalDuration()
{
    int32_t total = 0;
    if (Core().ready) {
        CoreGetTotalDuration(&total);
    }
    return total;
}

bool PlaylistEntry(int32_t index, MusicTrackInfo* entry)
{
    const auto& playlist = Core().playlist;
    return playlist && index >= 0 && playlist->Store().GetEntry(index, entry) == 0;
}

} // namespace

void CQELDSDPlayerView::OnPrepare() {}

void CQELDSDPlayerView::OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo)
{
    std::optional<PlayStartInfo> info;
    if (startInfo) {
        info = *startInfo;
    }
    QMetaObject::invokeMethod(
        this, [this, kind, value, info] { HandleStatus(kind, value, info); }, Qt::QueuedConnection);
}

void CQELDSDPlayerView::OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist)
{
    QMetaObject::invokeMethod(
        this, [this, secondsInTrack, secondsInPlaylist] { HandleTime(secondsInTrack, secondsInPlaylist); },
        Qt::QueuedConnection);
}

void CQELDSDPlayerView::OnSourceMode(int32_t change)
{
    QMetaObject::invokeMethod(
        this,
        [this, change] {
            if (change == kSourceModeToCd) {
                cdMode_ = true;
            } else if (change == kSourceModeToFiles) {
                cdMode_ = false;
            }
            SetListDragAndDrop(!cdMode_);
            ApplyMenuEnabling(playing_);
            if (!playing_) {
                ShowTime(0);
            }
        },
        Qt::QueuedConnection);
}

void CQELDSDPlayerView::OnTrackText(std::u16string, int32_t deselectAll)
{
    if (deselectAll != 0) {
        QMetaObject::invokeMethod(
            this, [this] { list_->ClearSelection(); }, Qt::QueuedConnection);
    }
}

void CQELDSDPlayerView::HandleStatus(int32_t kind, int32_t value, std::optional<PlayStartInfo> startInfo)
{
    switch (kind) {
    case kStatusStopped:
        OnStopped(value != 0);
        break;
    case kStatusStarted:
        if (startInfo) {
            OnPlayStarted(*startInfo);
        }
        break;
    case kStatusPaused:
        OnPausedOrResumed(value != 0);
        break;
    case kStatusLoading:
        seekState_ = 0;
        seekBar_->SetPos(0);
        seekBar_->setEnabled(false);
        {
            // The frame's relay shows progress only for a playlist that has entries.
            MusicTrackInfo first;
            if (value <= 100 && PlaylistEntry(0, &first) && first.sourceType != 0) {
                ShowLoadProgress(value);
            }
        }
        break;
    case kStatusSeeked:
        if (seekState_ == 2) {
            seekState_ = 0;
        }
        break;
    default:
        break;
    }
}

void CQELDSDPlayerView::OnPlayStarted(const PlayStartInfo& info)
{
    playing_ = true;
    currentLength_ = info.lengthSeconds;
    currentEntry_ = info.entryIndex;
    list_->SetItemImage(currentEntry_, kRowImagePlaying);
    list_->EnsureVisible(currentEntry_);
    if (info.deselectAll != 0) {
        list_->ClearSelection();
    }
    SetPlayChecks(true, false, false);
    UpdateLeds();
    ApplyMenuEnabling(true);
    loadPercent_ = -1;
    UpdateWindowTitle();
    SetListDragAndDrop(!cdMode_);

    MusicTrackInfo entry;
    const bool known = PlaylistEntry(currentEntry_, &entry);
    seekState_ = 0;
    seekBar_->SetPos(0);
    seekBar_->setEnabled(false);
    seekBar_->SetRangeMax(info.lengthSeconds);
    seekBar_->setEnabled(known && entry.lengthFrames != 0);
    statusText_ = FirstFormatToken(entry.formatName);
    TrackDetails details;
    if (Core().ready && CoreGetTrackDetails(false, &details) == kCoreOk) {
        entry.formatName = details.formatName;
    }
    lcd_->SetFormat(&entry);
    menu_.TopLevel(kConfigureMenu)->setEnabled(false);
    buttons_[kPlayButton]->update();
    buttons_[kStopButton]->update();
}

void CQELDSDPlayerView::OnStopped(bool cdMode)
{
    playing_ = false;
    cdMode_ = cdMode;
    SetLcdClock(0);
    ShowTime(0);
    statusText_ = std::u16string(LoadString(strings::kStop));
    currentEntry_ = -1;
    SetPlayChecks(false, true, false);
    UpdateLeds();
    ApplyMenuEnabling(false);
    loadPercent_ = -1;
    UpdateWindowTitle();
    if (!cdMode_) {
        SetListDragAndDrop(true);
    }
    seekState_ = 0;
    seekBar_->SetPos(0);
    seekBar_->setEnabled(false);
    lcd_->SetFormat(nullptr);
    menu_.TopLevel(kConfigureMenu)->setEnabled(true);
    buttons_[kPlayButton]->update();
    buttons_[kStopButton]->update();
}

void CQELDSDPlayerView::OnPausedOrResumed(bool resumed)
{
    if (resumed) {
        SetPlayChecks(true, false, false);
        MusicTrackInfo entry;
        PlaylistEntry(currentEntry_, &entry);
        statusText_ = FirstFormatToken(entry.formatName);
    } else {
        const bool play = menu_.IsChecked(command::kPlay);
        const bool pause = play ? !menu_.IsChecked(command::kPause) : menu_.IsChecked(command::kPause);
        SetPlayChecks(play, false, pause);
        statusText_ = std::u16string(LoadString(strings::kPause));
    }
    UpdateLeds();
    ApplyMenuEnabling(true);
    for (CCustomButton* button : buttons_) {
        button->update();
    }
    list_->EnsureVisible(currentEntry_);
}

void CQELDSDPlayerView::ShowLoadProgress(int32_t percent)
{
    if (percent >= 100) {
        progress_->hide();
        seekBar_->setEnabled(true);
        loadPercent_ = -1;
    } else {
        progress_->show();
        progress_->setValue(percent);
        seekBar_->setEnabled(false);
        loadPercent_ = percent;
    }
    UpdateWindowTitle();
}

void CQELDSDPlayerView::SetLcdClock(int32_t seconds)
{
    lcd_->SetClock(seconds % 60, seconds % 3600 / 60, seconds / 3600);
}

void CQELDSDPlayerView::HandleTime(int32_t secondsInTrack, int32_t secondsInPlaylist)
{
    if (ThumbFollowsReports(seekHelper_.IsTracking(), seekState_, lastThumbTick_, TickCount())) {
        seekBar_->SetPos(secondsInTrack);
    }
    SetLcdClock(secondsInTrack);
    ShowTime(secondsInPlaylist);
}

void CQELDSDPlayerView::ShowTime(int32_t elapsedSeconds)
{
    timeText_->setText(ToQString(FormatTimeText(elapsedSeconds, TotalDuration())));
}

void CQELDSDPlayerView::OnSeekBarScroll(int32_t code)
{
    seekHelper_.OnHScroll(code, *seekBar_);
    if (code == kSeekThumbTrack) {
        QToolTip::showText(QCursor::pos(), ToQString(FormatSeekTip(seekBar_->Pos())), seekBar_);
    }
}

void CQELDSDPlayerView::OnSeekTracking(int32_t, int32_t) {}

void CQELDSDPlayerView::OnSeekBegin(int32_t)
{
    seekState_ = 1;
}

void CQELDSDPlayerView::OnSeekEnd(int32_t position)
{
    if (seekState_ != 1) {
        return;
    }
    seekState_ = 2;
    QMetaObject::invokeMethod(
        this, [this, position] { PostToPlayer(WM_PLAYER_SEEK, static_cast<uintptr_t>(position)); },
        Qt::QueuedConnection);
}

void CQELDSDPlayerView::OnThumbPressChanged(bool)
{
    lastThumbTick_ = TickCount();
}

void CQELDSDPlayerView::SetPlayChecks(bool play, bool stop, bool pause)
{
    menu_.SetChecked(command::kPlay, play);
    menu_.SetChecked(command::kStop, stop);
    menu_.SetChecked(command::kPause, pause);
}

void CQELDSDPlayerView::UpdateLeds()
{
    const bool play = menu_.IsChecked(command::kPlay);
    const bool pause = menu_.IsChecked(command::kPause);
    leds_[kPlayLed]->SetLit(play && !pause);
    leds_[kPauseLed]->SetLit(pause);
}

void CQELDSDPlayerView::ApplyMenuEnabling(bool playing)
{
    for (const int id : {command::kOpen, command::kOpenCd, command::kAddFiles, command::kNewPlaylist,
                         command::kLoadPlaylist, command::kSavePlaylist, command::kShuffle}) {
        menu_.SetEnabled(id, IsMenuItemEnabled(id, playing, cdMode_));
    }
    menu_.TopLevel(kConfigureMenu)->setEnabled(!playing);
}

void CQELDSDPlayerView::UpdateWindowTitle()
{
    std::u16string track;
    MusicTrackInfo entry;
    if (currentEntry_ != -1 && PlaylistEntry(currentEntry_, &entry)) {
        track = entry.title.empty() ? entry.displayName : entry.title;
    }
    window()->setWindowTitle(
        ToQString(BuildWindowTitle(currentEntry_ != -1, track, loadPercent_, Core().debugMode)));
}

void CQELDSDPlayerView::SetListDragAndDrop(bool enable)
{
    list_->EnableDragReorder(enable ? 1 : 0);
    list_->EnableFileDrop(enable ? 1 : 0);
}

} // namespace sonavel
