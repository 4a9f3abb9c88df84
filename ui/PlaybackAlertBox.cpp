#include "ui/PlaybackAlertBox.h"

#include "app/StringTable.h"
#include "ui/QtText.h"

#include <QMessageBox>

namespace sonavel {

void CPlaybackAlertBox::ShowAlert(const std::u16string& text)
{
    QMetaObject::invokeMethod(
        this,
        [this, message = ToQString(text)] {
            QMessageBox::warning(window_, ToQString(LoadString(strings::kApplicationTitle)), message);
        },
        Qt::QueuedConnection);
}

} // namespace sonavel
