#pragma once

#include "app/AppErrorManager.h"

#include <QDialog>

class QPlainTextEdit;

namespace sonavel {

// The error window: every reported message is appended with an empty line after it and the
// window is shown; closing it empties and hides it until the next message. It is the program's
// IAppErrorManager: reports from any thread are handed to the GUI thread.
class CDlgErrorNotify : public QDialog, public IAppErrorManager {
    Q_OBJECT
  public:
    explicit CDlgErrorNotify(QWidget* parent = nullptr);

    void ReportError(const char16_t* text) override;
    // On the GUI thread.
    void AppendMessage(const QString& text);
    QString Text() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPlainTextEdit* edit_;
};

} // namespace sonavel
