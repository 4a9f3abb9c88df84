#pragma once

#include <QImage>

namespace sonavel::art {

// The front panel (picture 300, 709 x 567) with every feature under the positions of the main
// view's controls.
QImage PaintPanel();

// The LCD's pictures 340 to 344: format strips dim and lit, sample rates, bit depths, clock glyphs.
QImage PaintFormatStrip(bool lit);
QImage PaintRateLabels();
QImage PaintBitDepthLabels();
QImage PaintClockGlyphs();

// Control pictures with alpha: buttons 345/346, LEDs 358/359, seek thumbs 303/302, the row note
// 354 and its empty twin 355, the program icon 110.
QImage PaintButton(bool pressed);
QImage PaintLed(bool lit);
QImage PaintSeekThumb(bool pressed);
QImage PaintNote();
QImage PaintEmptyRowPicture();
QImage PaintProgramIcon();

} // namespace sonavel::art
