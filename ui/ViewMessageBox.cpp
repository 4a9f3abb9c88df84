#include "ui/ViewMessageBox.h"

#include "app/StringTable.h"
#include "ui/QtText.h"

namespace sonavel {

QMessageBox::StandardButton ShowViewMessage(QWidget* parent, uint32_t stringId,
                                            QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    QMessageBox box(icon, ToQString(LoadString(strings::kApplicationTitle)), ToQString(LoadString(stringId)),
                    buttons, parent);
    if (buttons == QMessageBox::Ok || buttons == (QMessageBox::Yes | QMessageBox::No)) {
        box.setWindowFlags((box.windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowCloseButtonHint);
        box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    }
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace sonavel
