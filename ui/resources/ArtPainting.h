#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace sonavel::art {

// Shared brushes and shapes of the panel artwork, so that the panel and the separate control
// pictures share one light direction (from the top left) and one palette.
inline const QColor kLcdBlue{70, 170, 255};
inline const QColor kLcdDim{58, 62, 70};
inline const QColor kEngraving{52, 56, 62};

// Horizontally brushed aluminium: fine streaks of deterministic noise over a soft vertical sheen.
void FillBrushedMetal(QImage& image, const QRectF& area, uint32_t seed);

// A recessed well filled with `inside`: a dark edge at the top left and a bright lip at the
// bottom right.
void PaintRecessedRect(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& inside);
void PaintRecessedCircle(QPainter& painter, const QPointF& centre, qreal radius);

// A silver knob seen from above, with a pressed variant shaded darker.
void PaintKnob(QPainter& painter, const QRectF& rect, bool pressed);

// Text in the engraved style of the panel captions.
void PaintEngravedText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                       int alignment);

QFont ArtFont(int pixelSize, int weight = QFont::Bold, bool condensed = false);

} // namespace sonavel::art
