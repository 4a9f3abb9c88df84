#pragma once

#include "core/CoreDialogs.h"
#include "core/PlayStartInfo.h"
#include "core/TkCallback.h"
#include "ui/SeekControlHelper.h"
#include "ui/SeekbarSliderCtrl.h"

#include <QImage>
#include <QMessageBox>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QProgressBar;

namespace sonavel {

class CAppConfigData;
class CCustomButton;
class CCustomLED;
class CDlgConfig;
class CDlgProperty;
class CExListCtrl;
class CLcdDisplayAreaCtrl;
class CMainMenu;
class CStatusTextArea;

// The front panel: the skinned transport buttons, LEDs, LCD, seek bar, loading bar, time text and
// the playlist on the panel picture. It turns commands into calls of the player core and thread
// messages, and shows what the core reports through ITkCallback. The reports arrive on the
// engine's threads; each is handed to the GUI thread before anything is touched.
class CQELDSDPlayerView : public QWidget,
                          public ITkCallback,
                          public ISeekControlEventListener,
                          public ISeekbarSliderCtrlEventListener,
                          public ICoreDialogs {
    Q_OBJECT
  public:
    using MessageBoxFunction =
        std::function<QMessageBox::StandardButton(uint32_t stringId, QMessageBox::StandardButtons buttons)>;

    // Hands itself and its list to the player core and starts the core when it is not running.
    CQELDSDPlayerView(CAppConfigData& config, CMainMenu& menu, const std::vector<std::u16string>& arguments,
                      QWidget* parent);
    ~CQELDSDPlayerView() override;

    // Places every control, connects the core's list and shows the stopped state.
    void OnInitialUpdate();
    void OnCommand(int id);
    // False when the user wants the playlist saved and the save did not happen.
    bool ConfirmSaving();
    // Loading progress relayed by the frame: 0..99 shows it, 100 and above ends it.
    void ShowLoadProgress(int32_t percent);
    void SetLcdClock(int32_t seconds);
    // A CD drive disappeared or lost its disc.
    void OnCdRemoved(const std::u16string& device);
    // A sound device came or went: an open configuration dialog lists the devices again.
    void OnSoundDevicesChanged();

    void OnPrepare() override;
    void OnStatus(int32_t kind, int32_t value, std::unique_ptr<PlayStartInfo> startInfo) override;
    void OnTime(int32_t secondsInTrack, int32_t secondsInPlaylist) override;
    void OnSourceMode(int32_t change) override;
    void OnTrackText(std::u16string text, int32_t deselectAll) override;

    void OnSeekTracking(int32_t position, int32_t tracking) override;
    void OnSeekBegin(int32_t position) override;
    void OnSeekEnd(int32_t position) override;
    void OnThumbPressChanged(bool pressed) override;

    bool AskFileNames(const FileDialogRequest& request, std::vector<std::u16string>* chosen) override;

    // For the tests: message boxes answered without showing them.
    void SetMessageBoxFunction(MessageBoxFunction function) { messageBox_ = std::move(function); }

    CExListCtrl& List() { return *list_; }
    CSeekbarSliderCtrl& SeekBar() { return *seekBar_; }
    CSeekControlHelper& SeekHelper() { return seekHelper_; }
    CLcdDisplayAreaCtrl& Lcd() { return *lcd_; }
    CStatusTextArea& TimeText() { return *timeText_; }
    QProgressBar& ProgressBar() { return *progress_; }
    CCustomButton& Button(int index) { return *buttons_[static_cast<size_t>(index)]; }
    CCustomLED& Led(int index) { return *leds_[static_cast<size_t>(index)]; }
    CDlgProperty& PropertyDialog() { return *properties_; }
    int32_t CurrentEntry() const { return currentEntry_; }
    int32_t SeekState() const { return seekState_; }
    bool IsCdMode() const { return cdMode_; }
    const std::u16string& StatusText() const { return statusText_; }

  signals:
    // The user chose Exit and the playlist question has been answered.
    void exitRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum ButtonIndex { kStopButton, kPlayButton, kPauseButton, kPreviousButton, kNextButton };
    enum LedIndex { kPlayLed, kPauseLed };

    void HandleStatus(int32_t kind, int32_t value, std::optional<PlayStartInfo> startInfo);
    void HandleTime(int32_t secondsInTrack, int32_t secondsInPlaylist);
    void OnPlayStarted(const PlayStartInfo& info);
    void OnStopped(bool cdMode);
    void OnPausedOrResumed(bool resumed);
    void OnSeekBarScroll(int32_t code);
    void ShowContextMenu(QPoint globalPosition);
    void ShowProperties();
    void RunConfiguration();
    void OpenCd();
    void SetOrder(int id, int32_t order);
    void ToggleShuffle();
    void PostToPlayer(uint32_t message, uintptr_t wParam);
    void SetPlayChecks(bool play, bool stop, bool pause);
    void UpdateLeds();
    void ApplyMenuEnabling(bool playing);
    void UpdateWindowTitle();
    void ShowTime(int32_t elapsedSeconds);
    void SetListDragAndDrop(bool enable);
    void MoveToStoredPosition();

    CAppConfigData& config_;
    CMainMenu& menu_;
    QImage background_;
    CExListCtrl* list_;
    CSeekbarSliderCtrl* seekBar_;
    CSeekControlHelper seekHelper_;
    QProgressBar* progress_;
    CStatusTextArea* timeText_;
    CLcdDisplayAreaCtrl* lcd_;
    std::vector<CCustomButton*> buttons_;
    std::vector<CCustomLED*> leds_;
    CDlgProperty* properties_;
    CDlgConfig* openConfig_ = nullptr;
    MessageBoxFunction messageBox_;

    int32_t currentEntry_ = -1;
    bool playing_ = false;
    int32_t currentLength_ = 0;
    bool cdMode_ = false;
    std::u16string cdDrive_;
    int32_t seekState_ = 0;
    uint32_t lastThumbTick_ = 0;
    int32_t loadPercent_ = -1;
    std::u16string statusText_;
};

} // namespace sonavel
