#pragma once

#include "core/ViewGeometry.h"
#include "ui/PseudoTransparentBackgroundControl.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace sonavel {

// Scroll codes the seek bar reports, with the trackbar's numbers.
enum SeekScrollCode : int32_t {
    kSeekThumbPosition = 4,
    kSeekThumbTrack = 5,
    kSeekEndTrack = 8,
};

class ISeekbarSliderCtrlEventListener {
  public:
    virtual ~ISeekbarSliderCtrlEventListener() = default;
    virtual void OnThumbPressChanged(bool pressed) = 0;
};

// The channel, in the bar's own coordinates, in which clicks are taken: derived from the groove
// (in the parent's coordinates) and the margins of the channel inside it. Degenerate values
// collapse to zero.
ViewRect ComputeSeekChannel(const ViewRect& groove, const ViewRect& margins);

// The seek bar: one unit per second up to the track length. It paints only its round thumb over
// the panel, takes presses only on the thumb or in the channel, jumps to the pressed point and
// reports the drag as scroll codes; wheel and keys never move it.
class CSeekbarSliderCtrl : public QWidget, public IPseudoTransparentBackgroundControl {
    Q_OBJECT
  public:
    explicit CSeekbarSliderCtrl(QWidget* parent);

    void SetListener(ISeekbarSliderCtrlEventListener* listener) { listener_ = listener; }
    // Groove and window in the parent's coordinates; margins left, top, right, bottom.
    void SetGeometryRects(const ViewRect& groove, const ViewRect& window, const ViewRect& margins);
    void ComputeChannel();
    void MoveToWindowRect();
    void SetParentBackground(const QImage& background) override;

    void SetRangeMax(int32_t maximum);
    int32_t RangeMax() const { return rangeMax_; }
    void SetPos(int32_t position);
    int32_t Pos() const { return position_; }

    const ViewRect& Channel() const { return channel_; }
    ViewRect ThumbRect() const;
    bool IsOnThumb(QPoint point) const;
    bool IsInChannel(QPoint point) const;
    // The position a press at x jumps to.
    int32_t PositionAt(int32_t x) const;
    bool IsPressed() const { return pressed_; }

  signals:
    void scrolled(int32_t code);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void SetPressed(bool pressed);
    void EndDrag();

    QImage normalThumb_;
    QImage pressedThumb_;
    QImage background_;
    ViewRect groove_;
    ViewRect window_;
    ViewRect margins_;
    ViewRect channel_;
    int32_t rangeMax_ = 0;
    int32_t position_ = 0;
    bool pressed_ = false;
    ISeekbarSliderCtrlEventListener* listener_ = nullptr;
};

} // namespace sonavel
