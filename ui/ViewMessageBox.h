#pragma once

#include <QMessageBox>

#include <cstdint>

namespace sonavel {

// A message box of the main view: the text of a string id under the application title. Boxes
// with OK or Yes/No buttons have no title-bar close button, so they are answered with a button.
QMessageBox::StandardButton ShowViewMessage(QWidget* parent, uint32_t stringId,
                                            QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);

} // namespace sonavel
