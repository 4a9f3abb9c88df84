#pragma once

#include <QMainWindow>

#include <string>
#include <vector>

namespace sonavel {

class CAppConfigData;
class CDeviceChangeMonitor;
class CMainMenu;
class CQELDSDPlayerView;
class CSuspendWatcher;

// The program's window: a fixed-size frame around the main view with the main menu. It stops
// playback on suspend, takes file lists from later starts of the program, and on close detaches
// the player core from the view, shuts it down and saves the window position.
class CMainFrame : public QMainWindow {
    Q_OBJECT
  public:
    CMainFrame(CAppConfigData& config, const std::vector<std::u16string>& arguments);
    ~CMainFrame() override;

    CQELDSDPlayerView& View() { return *view_; }
    CMainMenu& Menu() { return *menu_; }
    // The '|'-joined paths of a forwarded command line (or the program's own arguments).
    void OnCommandLine(const QString& text);
    void ShowAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void UpdateRemoveItem();
    // Detaches the view from the player core, shuts the core down and saves the window position;
    // once, on close or at destruction when the window was never closed.
    void ShutdownCore();

    CAppConfigData& config_;
    CMainMenu* menu_;
    CQELDSDPlayerView* view_;
    CSuspendWatcher* suspend_;
    CDeviceChangeMonitor* devices_;
    bool exitConfirmed_ = false;
    bool closed_ = false;
};

} // namespace sonavel
