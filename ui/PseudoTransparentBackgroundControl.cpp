#include "ui/PseudoTransparentBackgroundControl.h"

#include <QWidget>

namespace sonavel {

QImage CutParentBackground(const QWidget& control, const QImage& background)
{
    const QWidget* parent = control.parentWidget();
    const QPoint offset = parent != nullptr ? control.mapTo(parent, QPoint(0, 0)) : QPoint(0, 0);
    return background.copy(QRect(offset, control.size()));
}

} // namespace sonavel
