#pragma once

#include <QPoint>

class QWidget;

namespace sonavel::test {

// Sends a mouse event straight to a widget, with the buttons held during it.
void SendMouse(QWidget& widget, int type, QPoint position, int button, int buttons, int modifiers = 0);

} // namespace sonavel::test
