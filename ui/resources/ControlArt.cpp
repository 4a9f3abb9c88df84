#include "ArtPainting.h"
#include "Artwork.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace sonavel::art {
namespace {

QImage Transparent(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void PaintNoteShape(QPainter& painter, const QColor& colour)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath note;
    // Head, stem and flag of an eighth note in a 16 x 16 box.
    note.addEllipse(QRectF(2.5, 10, 6.5, 4.8));
    note.addRect(QRectF(7.6, 2, 1.4, 10.5));
    QPainterPath flag;
    flag.moveTo(9, 2);
    flag.cubicTo(10, 4.5, 14, 5, 13, 9.5);
    flag.cubicTo(12.6, 7, 11, 6.2, 9, 6);
    flag.closeSubpath();
    note.addPath(flag);
    painter.drawPath(note.simplified());
}

} // namespace

QImage PaintButton(bool pressed)
{
    QImage image = Transparent(27, 27);
    QPainter painter(&image);
    PaintKnob(painter, QRectF(0.5, 0.5, 26, 26), pressed);
    return image;
}

QImage PaintLed(bool lit)
{
    QImage image = Transparent(9, 9);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(4.5, 4.5);
    QRadialGradient lamp(centre - QPointF(1.2, 1.2), 4.8);
    if (lit) {
        lamp.setColorAt(0.0, QColor(230, 245, 255));
        lamp.setColorAt(0.35, QColor(90, 190, 255));
        lamp.setColorAt(1.0, QColor(10, 90, 200));
    } else {
        lamp.setColorAt(0.0, QColor(200, 202, 206));
        lamp.setColorAt(0.5, QColor(120, 124, 130));
        lamp.setColorAt(1.0, QColor(60, 62, 68));
    }
    painter.setPen(QPen(QColor(20, 22, 26, 220), 0.6));
    painter.setBrush(lamp);
    painter.drawEllipse(centre, 4.0, 4.0);
    return image;
}

QImage PaintSeekThumb(bool pressed)
{
    QImage image = Transparent(30, 30);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft drop shadow under the knob.
    QRadialGradient shadow(QPointF(16, 17), 14);
    shadow.setColorAt(0.7, QColor(0, 0, 0, 90));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shadow);
    painter.drawEllipse(QPointF(16, 17), 14, 14);
    PaintKnob(painter, QRectF(3, 3, 24, 24), pressed);
    // The index mark.
    painter.setBrush(pressed ? QColor(30, 110, 210) : QColor(60, 160, 255));
    painter.drawEllipse(QPointF(15, 15), 2.4, 2.4);
    return image;
}

QImage PaintNote()
{
    QImage image = Transparent(16, 16);
    QPainter painter(&image);
    PaintNoteShape(painter, Qt::black);
    return image;
}

QImage PaintEmptyRowPicture()
{
    return Transparent(16, 16);
}

QImage PaintProgramIcon()
{
    QImage image = Transparent(64, 64);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient face(0, 0, 64, 64);
    face.setColorAt(0, QColor(236, 238, 242));
    face.setColorAt(1, QColor(150, 154, 162));
    painter.setPen(QPen(QColor(60, 64, 70), 1.5));
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawRoundedRect(QRectF(10, 12, 44, 24), 4, 4);
    painter.save();
    painter.translate(22, 13);
    painter.scale(1.3, 1.3);
    PaintNoteShape(painter, kLcdBlue);
    painter.restore();
    PaintKnob(painter, QRectF(24, 40, 16, 16), false);
    return image;
}

} // namespace sonavel::art
