#include "ArtPainting.h"
#include "Artwork.h"

#include <QPainterPath>

#include <array>
#include <initializer_list>

namespace sonavel::art {
namespace {

// Text on the LCD glass: a faint glow behind lit text, as a real segment display bleeds light.
void PaintLcdText(QPainter& painter, const QRectF& rect, const QString& text, const QColor& colour, bool glow,
                  int alignment)
{
    const QFont font = ArtFont(10, QFont::Bold, true);
    painter.setFont(font);
    if (glow) {
        QColor halo = colour;
        halo.setAlpha(70);
        painter.setPen(halo);
        for (const QPointF offset : {QPointF(-0.7, 0), QPointF(0.7, 0), QPointF(0, -0.7), QPointF(0, 0.7)}) {
            painter.drawText(rect.translated(offset), alignment, text);
        }
    }
    painter.setPen(colour);
    painter.drawText(rect, alignment, text);
}

QImage BlackImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// One seven-segment digit in a 20 x 32 cell; segments a..g as bits 0..6.
void PaintSegments(QPainter& painter, QPointF origin, uint8_t segments)
{
    const qreal left = 3, right = 17, top = 3, middle = 16, bottom = 29, t = 3.0;
    auto horizontal = [&](qreal y) {
        QPainterPath p;
        p.moveTo(left + 1, y);
        p.lineTo(left + 1 + t / 2, y - t / 2);
        p.lineTo(right - 1 - t / 2, y - t / 2);
        p.lineTo(right - 1, y);
        p.lineTo(right - 1 - t / 2, y + t / 2);
        p.lineTo(left + 1 + t / 2, y + t / 2);
        p.closeSubpath();
        return p;
    };
    auto vertical = [&](qreal x, qreal y0, qreal y1) {
        QPainterPath p;
        p.moveTo(x, y0 + 1);
        p.lineTo(x + t / 2, y0 + 1 + t / 2);
        p.lineTo(x + t / 2, y1 - 1 - t / 2);
        p.lineTo(x, y1 - 1);
        p.lineTo(x - t / 2, y1 - 1 - t / 2);
        p.lineTo(x - t / 2, y0 + 1 + t / 2);
        p.closeSubpath();
        return p;
    };
    const std::array<QPainterPath, 7> shapes = {
        horizontal(top),    vertical(right, top, middle),   vertical(right, middle, bottom),
        horizontal(bottom), vertical(left, middle, bottom), vertical(left, top, middle),
        horizontal(middle),
    };
    painter.save();
    painter.translate(origin);
    // A slight italic slant like a hardware display.
    painter.setTransform(QTransform(1, 0, -0.08, 1, 0, 0) * painter.transform());
    painter.translate(1.5, 0);
    for (size_t s = 0; s < shapes.size(); ++s) {
        const bool on = (segments >> s) & 1U;
        painter.setPen(Qt::NoPen);
        painter.setBrush(on ? kLcdBlue : QColor(14, 22, 32));
        painter.drawPath(shapes[s]);
    }
    painter.restore();
}

// Labels one under the other, one per 21-pixel row, each in `cell` moved down by its row.
QImage PaintLabelColumn(QSize size, QRect cell, std::initializer_list<const char*> labels)
{
    QImage image = BlackImage(size.width(), size.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    int row = 0;
    for (const char* label : labels) {
        PaintLcdText(painter, QRectF(cell.translated(0, row * 21)), QString::fromLatin1(label), kLcdBlue,
                     true, Qt::AlignLeft | Qt::AlignVCenter);
        ++row;
    }
    return image;
}

} // namespace

QImage PaintFormatStrip(bool lit)
{
    // Label cells as the LCD cuts them: source x and width of WAV, AIFF, FLAC, ALAC, MP3, DSF, DFF.
    struct Label {
        int x;
        int width;
        const char* text;
    };
    constexpr Label labels[] = {{0, 36, "WAV"},   {36, 32, "AIFF"}, {68, 35, "FLAC"}, {103, 37, "ALAC"},
                                {140, 31, "MP3"}, {171, 28, "DSF"}, {199, 25, "DFF"}};
    QImage strip = BlackImage(224, 15);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Label& label : labels) {
        PaintLcdText(painter, QRectF(label.x, 0, label.width, 15), QString::fromLatin1(label.text),
                     lit ? kLcdBlue : kLcdDim, lit, Qt::AlignCenter);
    }
    return strip;
}

QImage PaintRateLabels()
{
    // The LCD copies 58 x 11 pixels from (9, row x 21 + 9).
    return PaintLabelColumn(QSize(75, 320), QRect(9, 9, 58, 11),
                            {"32kHz", "44.1kHz", "48kHz", "88.2kHz", "96kHz", "176.4kHz", "192kHz",
                             "352.8kHz", "384kHz", "705.6kHz", "768kHz", "2.8MHz", "5.6MHz", "11.2MHz",
                             "22.5MHz"});
}

QImage PaintBitDepthLabels()
{
    // The LCD copies 32 x 11 pixels from (10, row x 21 + 11).
    return PaintLabelColumn(QSize(52, 97), QRect(10, 11, 32, 11), {"16bit", "20bit", "24bit", "32bit"});
}

QImage PaintClockGlyphs()
{
    // Segment masks of 0..9 (bit 0 = top, clockwise, bit 6 = middle).
    constexpr uint8_t digits[] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    QImage image = BlackImage(220, 32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int d = 0; d < 10; ++d) {
        PaintSegments(painter, QPointF(d * 20, 0), digits[d]);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(kLcdBlue);
    painter.drawEllipse(QPointF(200 + 10, 11), 1.8, 1.8);
    painter.drawEllipse(QPointF(200 + 9, 22), 1.8, 1.8);
    return image;
}

} // namespace sonavel::art
