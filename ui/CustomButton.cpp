#include "ui/CustomButton.h"

#include "ui/SkinPicture.h"

#include <QKeyEvent>
#include <QPainter>

namespace sonavel {
namespace {

constexpr int kNormalPicture = 345;
constexpr int kPressedPicture = 346;

} // namespace

CCustomButton::CCustomButton(int commandId, QWidget* parent)
    : QAbstractButton(parent), commandId_(commandId), normal_(LoadSkinPicture(kNormalPicture)),
      pressed_(LoadSkinPicture(kPressedPicture))
{
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractButton::clicked, this, [this] { emit commandTriggered(commandId_); });
}

void CCustomButton::SetParentBackground(const QImage& background)
{
    background_ = CutParentBackground(*this, background);
}

bool CCustomButton::hitButton(const QPoint& position) const
{
    // The circle of the knob, its centre one pixel right of the client centre as on the picture.
    const double centreX = width() / 2 + 1;
    const double centreY = height() / 2;
    const double radius = 0.48 * normal_.width();
    const double dx = position.x() - centreX;
    const double dy = position.y() - centreY;
    return dx * dx + dy * dy < radius * radius;
}

void CCustomButton::paintEvent(QPaintEvent*)
{
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
    painter.drawImage(0, 0, isDown() ? pressed_ : normal_);
}

void CCustomButton::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void CCustomButton::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

} // namespace sonavel
