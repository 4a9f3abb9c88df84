#pragma once

#include <QImage>

class QWidget;

namespace sonavel {

// A control drawn over its parent's background picture: it keeps a copy of the part of the
// picture under itself, paints that first and its own picture with per-pixel alpha on top.
class IPseudoTransparentBackgroundControl {
  public:
    virtual ~IPseudoTransparentBackgroundControl() = default;
    // background: the parent's whole background picture. Called once the control is in place.
    virtual void SetParentBackground(const QImage& background) = 0;
};

// The part of the parent's background under the control, the size of the control.
QImage CutParentBackground(const QWidget& control, const QImage& background);

} // namespace sonavel
