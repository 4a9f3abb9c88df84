#include "ui/SeekbarSliderCtrl.h"

#include "ui/SkinPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sonavel {
namespace {

constexpr int kNormalThumb = 303;
constexpr int kPressedThumb = 302;

} // namespace

ViewRect ComputeSeekChannel(const ViewRect& groove, const ViewRect& margins)
{
    const int32_t grooveHeight = groove.bottom - groove.top;
    ViewRect channel{margins.left + grooveHeight + 3, margins.top + 2,
                     groove.right - margins.right - groove.left + grooveHeight + 3,
                     groove.bottom - margins.bottom - groove.top + 2};
    if (channel.left < 0 || channel.top < 0 || channel.right < 0 || channel.bottom < 0) {
        return ViewRect{};
    }
    if (channel.right < channel.left) {
        channel.left = channel.right = 0;
    }
    if (channel.bottom < channel.top) {
        channel.top = channel.bottom = 0;
    }
    return channel;
}

CSeekbarSliderCtrl::CSeekbarSliderCtrl(QWidget* parent)
    : QWidget(parent), normalThumb_(LoadSkinPicture(kNormalThumb)),
      pressedThumb_(LoadSkinPicture(kPressedThumb))
{
    setFocusPolicy(Qt::NoFocus);
}

void CSeekbarSliderCtrl::SetGeometryRects(const ViewRect& groove, const ViewRect& window,
                                          const ViewRect& margins)
{
    groove_ = groove;
    window_ = window;
    margins_ = margins;
}

void CSeekbarSliderCtrl::ComputeChannel()
{
    channel_ = ComputeSeekChannel(groove_, margins_);
}

void CSeekbarSliderCtrl::MoveToWindowRect()
{
    setGeometry(window_.left, window_.top, window_.right - window_.left, window_.bottom - window_.top);
}

void CSeekbarSliderCtrl::SetParentBackground(const QImage& background)
{
    background_ = CutParentBackground(*this, background);
}

void CSeekbarSliderCtrl::SetRangeMax(int32_t maximum)
{
    rangeMax_ = std::max(0, maximum);
    position_ = std::min(position_, rangeMax_);
    update();
}

void CSeekbarSliderCtrl::SetPos(int32_t position)
{
    position_ = std::clamp(position, 0, rangeMax_);
    update();
}

ViewRect CSeekbarSliderCtrl::ThumbRect() const
{
    // The thumb's centre moves along the channel; its rectangle is as tall as the fixed thumb
    // length of twice the picture width, of which the picture fills the top.
    const int32_t span = channel_.right - channel_.left;
    const int32_t centre =
        channel_.left +
        (rangeMax_ > 0 ? static_cast<int32_t>(static_cast<int64_t>(span) * position_ / rangeMax_) : 0);
    const int32_t half = normalThumb_.width() / 2;
    return ViewRect{centre - half, 0, centre - half + normalThumb_.width(), 2 * normalThumb_.width()};
}

bool CSeekbarSliderCtrl::IsOnThumb(QPoint point) const
{
    const ViewRect thumb = ThumbRect();
    const double centreX = (thumb.left + thumb.right) / 2.0;
    const double centreY = ((thumb.top + thumb.bottom) / 2) * 0.5 + 2;
    const double radius = 0.4 * normalThumb_.width();
    const double dx = point.x() - centreX;
    const double dy = point.y() - centreY;
    return radius * radius > dx * dx + dy * dy;
}

bool CSeekbarSliderCtrl::IsInChannel(QPoint point) const
{
    return point.x() >= channel_.left && point.x() <= channel_.right && point.y() >= channel_.top &&
           point.y() <= channel_.bottom;
}

int32_t CSeekbarSliderCtrl::PositionAt(int32_t x) const
{
    const int32_t span = channel_.right - channel_.left;
    if (span <= 0) {
        return 0;
    }
    const double exact = static_cast<double>(rangeMax_) * (x - channel_.left) / span;
    return std::clamp(static_cast<int32_t>(std::floor(exact + 0.5)), 0, rangeMax_);
}

bool CSeekbarSliderCtrl::event(QEvent* event)
{
    // Losing the mouse to another window (a popup or a message box) ends a drag like a release.
    if ((event->type() == QEvent::UngrabMouse || event->type() == QEvent::WindowDeactivate) && pressed_) {
        EndDrag();
    }
    return QWidget::event(event);
}

void CSeekbarSliderCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!background_.isNull()) {
        painter.drawImage(0, 0, background_);
    }
    const ViewRect thumb = ThumbRect();
    painter.drawImage(thumb.left, thumb.top, pressed_ ? pressedThumb_ : normalThumb_);
}

void CSeekbarSliderCtrl::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!IsOnThumb(point) && !IsInChannel(point)) {
        return;
    }
    SetPos(PositionAt(point.x()));
    emit scrolled(kSeekThumbTrack);
    SetPressed(true);
}

void CSeekbarSliderCtrl::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (!pressed_) {
        return;
    }
    const int32_t position = PositionAt(event->position().toPoint().x());
    if (position != position_) {
        SetPos(position);
        emit scrolled(kSeekThumbTrack);
    }
}

void CSeekbarSliderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton && pressed_) {
        EndDrag();
    }
}

void CSeekbarSliderCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void CSeekbarSliderCtrl::wheelEvent(QWheelEvent* event)
{
    event->accept();
}

void CSeekbarSliderCtrl::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

void CSeekbarSliderCtrl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        pressed_ = false;
        update();
    }
    QWidget::changeEvent(event);
}

void CSeekbarSliderCtrl::SetPressed(bool pressed)
{
    if (pressed == pressed_) {
        return;
    }
    pressed_ = pressed;
    update();
    if (listener_ != nullptr) {
        listener_->OnThumbPressChanged(pressed);
    }
}

void CSeekbarSliderCtrl::EndDrag()
{
    SetPressed(false);
    emit scrolled(kSeekEndTrack);
}

} // namespace sonavel
