#pragma once

#include "core/CoreDialogs.h"
#include "core/MemoryListCtrl.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace sonavel {

class CAppConfigData;
class ConsoleView;

// The player core as the headless front end runs it: the user's configuration read but never
// written, an in-memory playlist window, no file dialogs, and the console as the view.
class HeadlessSession {
  public:
    // debug: the output device list admits every device, as the debug switch does. adjust changes
    // the configuration in memory before the core starts from it.
    HeadlessSession(ConsoleView& view, bool debug, const std::function<void(CAppConfigData&)>& adjust = {});
    ~HeadlessSession();
    HeadlessSession(const HeadlessSession&) = delete;
    HeadlessSession& operator=(const HeadlessSession&) = delete;

    bool Ready() const { return ready_; }
    // Adds the files in the order given, each as a dropped file is added, with absolute paths so
    // that a playlist written from them works from any folder. Every file that adds nothing is
    // named on err; returns how many did.
    int AddFiles(const std::vector<std::string>& files, std::ostream& err);
    CAppConfigData& Config() { return *config_; }
    CMemoryListCtrl& List() { return list_; }

  private:
    class NoDialogs final : public ICoreDialogs {
      public:
        bool AskFileNames(const FileDialogRequest&, std::vector<std::u16string>*) override { return false; }
    };

    std::shared_ptr<CAppConfigData> config_;
    CMemoryListCtrl list_;
    NoDialogs dialogs_;
    bool ready_ = false;
};

} // namespace sonavel
