#pragma once

#include <memory>
#include <string>
#include <vector>

namespace sonavel {

class CAppConfigData;
class CDlgErrorNotify;
class CMainFrame;
class CPlaybackAlertBox;
class CSingleInstance;

// The program from start to end: one instance per user (later starts hand over their files),
// the configuration loaded before the window, a first device chosen when none is configured,
// the error window as the error sink, and the window's event loop.
class CQELDSDPlayerApp {
  public:
    CQELDSDPlayerApp();
    ~CQELDSDPlayerApp();

    // Every argument that is not a switch, in order.
    static std::vector<std::u16string> FileArguments(const std::vector<std::u16string>& arguments);
    // Runs the program; the application object must exist.
    int Run(const std::vector<std::u16string>& arguments);

  private:
    void ChooseFirstDevice();

    std::shared_ptr<CAppConfigData> config_;
    std::unique_ptr<CDlgErrorNotify> errorDialog_;
    std::unique_ptr<CPlaybackAlertBox> alerts_;
    std::unique_ptr<CSingleInstance> instance_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace sonavel
