#pragma once

#include <string>
#include <vector>

namespace sonavel {

enum class FileDialogKind {
    Open,
    Save,
};

// A file dialog the player core asks the view to show, with the filter in the dialog class's
// form: description and pattern list alternate, each followed by '|', the whole ending in "||".
struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    std::u16string title;
    std::u16string filter;
    // Without the dot; empty for none.
    std::u16string defaultExtension;
    std::u16string initialName;
    bool multipleSelection = false;
};

// The dialogs of the player core's commands, shown by the view (or answered by the headless front
// end and the tests). Called on the GUI thread.
class ICoreDialogs {
  public:
    virtual ~ICoreDialogs() = default;
    // True with the chosen paths in *chosen when the user confirmed; false when cancelled.
    virtual bool AskFileNames(const FileDialogRequest& request, std::vector<std::u16string>* chosen) = 0;
};

} // namespace sonavel
