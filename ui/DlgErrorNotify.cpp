#include "ui/DlgErrorNotify.h"

#include "app/StringTable.h"
#include "ui/FormFont.h"
#include "ui/QtText.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace sonavel {

CDlgErrorNotify::CDlgErrorNotify(QWidget* parent) : QDialog(parent), edit_(new QPlainTextEdit(this))
{
    setWindowTitle(ToQString(LoadString(strings::kErrorWindowCaption)));
    setFont(DialogFont());
    setMinimumSize(250, 150);
    resize(387, 185);
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
}

void CDlgErrorNotify::ReportError(const char16_t* text)
{
    if (text == nullptr) {
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, message = ToQString(text)] { AppendMessage(message); }, Qt::QueuedConnection);
}

void CDlgErrorNotify::AppendMessage(const QString& text)
{
    QTextCursor cursor = edit_->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text + QStringLiteral("\n\n"));
    edit_->setTextCursor(cursor);
    edit_->ensureCursorVisible();
    show();
}

QString CDlgErrorNotify::Text() const
{
    return edit_->toPlainText();
}

void CDlgErrorNotify::closeEvent(QCloseEvent* event)
{
    edit_->clear();
    hide();
    event->ignore();
}

} // namespace sonavel
