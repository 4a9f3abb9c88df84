#include "ArtPainting.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace sonavel::art {

void FillBrushedMetal(QImage& image, const QRectF& area, uint32_t seed)
{
    std::mt19937 random(seed);
    std::normal_distribution<double> grain(0.0, 1.0);
    const QRect bounds = area.toAlignedRect().intersected(image.rect());
    const int width = bounds.width();
    // Each row is a run of noise smeared along x, which is what brushing leaves on the metal.
    std::vector<double> row(static_cast<size_t>(width));
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        double streak = grain(random) * 6.0;
        double smooth = 0;
        for (int x = 0; x < width; ++x) {
            smooth = smooth * 0.92 + grain(random) * 0.8;
            row[static_cast<size_t>(x)] = streak + smooth;
        }
        const double t = static_cast<double>(y - bounds.top()) / std::max(1, bounds.height() - 1);
        // A broad sheen: brightest a third of the way down, darker towards the bottom edge.
        const double sheen = 206.0 + 18.0 * std::cos((t - 0.3) * 3.0) - 14.0 * t;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double sx = static_cast<double>(x) / std::max(1, width - 1);
            const double v =
                std::clamp(sheen + row[static_cast<size_t>(x)] + 6.0 * std::sin(sx * 3.14159), 0.0, 255.0);
            const int grey = static_cast<int>(v);
            line[bounds.left() + x] = qRgb(grey - 3, grey - 1, grey + 2 > 255 ? 255 : grey + 2);
        }
    }
}

void PaintRecessedRect(QPainter& painter, const QRectF& rect, qreal radius, const QBrush& inside)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient lip(rect.topLeft(), rect.bottomRight());
    lip.setColorAt(0.0, QColor(90, 94, 100));
    lip.setColorAt(0.5, QColor(150, 154, 160));
    lip.setColorAt(1.0, QColor(250, 250, 252));
    painter.setPen(Qt::NoPen);
    painter.setBrush(lip);
    painter.drawRoundedRect(rect.adjusted(-3, -3, 3, 3), radius + 3, radius + 3);
    painter.setBrush(QColor(40, 42, 46));
    painter.drawRoundedRect(rect.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
    painter.setBrush(inside);
    painter.drawRoundedRect(rect, radius, radius);
    painter.restore();
}

void PaintRecessedCircle(QPainter& painter, const QPointF& centre, qreal radius)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient lip(centre - QPointF(radius, radius), centre + QPointF(radius, radius));
    lip.setColorAt(0.0, QColor(96, 100, 106));
    lip.setColorAt(1.0, QColor(252, 252, 254));
    painter.setPen(Qt::NoPen);
    painter.setBrush(lip);
    painter.drawEllipse(centre, radius + 2.5, radius + 2.5);
    QRadialGradient hollow(centre + QPointF(1.5, 1.5), radius);
    hollow.setColorAt(0.0, QColor(150, 154, 160));
    hollow.setColorAt(0.8, QColor(118, 122, 128));
    hollow.setColorAt(1.0, QColor(70, 72, 78));
    painter.setBrush(hollow);
    painter.drawEllipse(centre, radius, radius);
    painter.restore();
}

void PaintKnob(QPainter& painter, const QRectF& rect, bool pressed)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre = rect.center();
    const qreal radius = std::min(rect.width(), rect.height()) / 2.0 - 0.5;
    // Rim: a dark ring that lifts the knob from the panel.
    QLinearGradient rim(rect.topLeft(), rect.bottomRight());
    rim.setColorAt(0.0, pressed ? QColor(120, 124, 130) : QColor(250, 250, 252));
    rim.setColorAt(1.0, pressed ? QColor(40, 42, 46) : QColor(70, 74, 80));
    painter.setPen(QPen(QColor(30, 32, 36, 200), 0.8));
    painter.setBrush(rim);
    painter.drawEllipse(centre, radius, radius);
    // Face: a cone of light from the top left, darker when pressed.
    const qreal face = radius * 0.82;
    QRadialGradient light(centre - QPointF(face * 0.35, face * 0.45), face * 1.6);
    light.setColorAt(0.0, pressed ? QColor(178, 182, 188) : QColor(255, 255, 255));
    light.setColorAt(0.5, pressed ? QColor(128, 132, 138) : QColor(206, 210, 216));
    light.setColorAt(1.0, pressed ? QColor(86, 90, 96) : QColor(140, 144, 150));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, face, face);
    // Concentric machining rings on the face.
    painter.setBrush(Qt::NoBrush);
    for (qreal r = face * 0.25; r < face; r += face * 0.18) {
        painter.setPen(QPen(QColor(255, 255, 255, pressed ? 20 : 45), 0.6));
        painter.drawEllipse(centre, r, r);
    }
    painter.restore();
}

void PaintEngravedText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font,
                       int alignment)
{
    painter.save();
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255, 170));
    painter.drawText(rect.translated(0, 1), alignment, text);
    painter.setPen(kEngraving);
    painter.drawText(rect, alignment, text);
    painter.restore();
}

QFont ArtFont(int pixelSize, int weight, bool condensed)
{
    QFont font(condensed ? QStringLiteral("DejaVu Sans Condensed") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace sonavel::art
