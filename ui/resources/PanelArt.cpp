#include "ArtPainting.h"
#include "Artwork.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace sonavel::art {
namespace {

constexpr int kPanelWidth = 709;
constexpr int kPanelHeight = 567;

void PaintPanelEdges(QPainter& painter)
{
    painter.setPen(QColor(255, 255, 255, 200));
    painter.drawLine(0, 0, kPanelWidth - 1, 0);
    painter.drawLine(0, 0, 0, kPanelHeight - 1);
    painter.setPen(QColor(80, 84, 90, 200));
    painter.drawLine(0, kPanelHeight - 1, kPanelWidth - 1, kPanelHeight - 1);
    painter.drawLine(kPanelWidth - 1, 0, kPanelWidth - 1, kPanelHeight - 1);
    // The seam between the control deck and the playlist bay.
    painter.setPen(QColor(120, 124, 130));
    painter.drawLine(10, 170, kPanelWidth - 11, 170);
    painter.setPen(QColor(255, 255, 255, 220));
    painter.drawLine(10, 171, kPanelWidth - 11, 171);
}

void PaintScrew(QPainter& painter, QPointF centre)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PaintRecessedCircle(painter, centre, 4.5);
    QRadialGradient head(centre - QPointF(1.5, 1.5), 5);
    head.setColorAt(0, QColor(245, 245, 248));
    head.setColorAt(1, QColor(130, 134, 140));
    painter.setBrush(head);
    painter.setPen(QPen(QColor(70, 72, 78), 0.6));
    painter.drawEllipse(centre, 3.8, 3.8);
    painter.setPen(QPen(QColor(60, 62, 68), 1.1));
    painter.drawLine(centre + QPointF(-2.6, 1.2), centre + QPointF(2.6, -1.2));
    painter.restore();
}

void PaintLogo(QPainter& painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The kestrel's wing: two swept blue blades ahead of the word mark.
    QPainterPath wing;
    wing.moveTo(26, 82);
    wing.cubicTo(34, 60, 48, 50, 66, 46);
    wing.cubicTo(54, 56, 46, 66, 42, 82);
    wing.closeSubpath();
    QPainterPath tip;
    tip.moveTo(44, 82);
    tip.cubicTo(50, 68, 58, 62, 70, 58);
    tip.cubicTo(62, 66, 58, 72, 56, 82);
    tip.closeSubpath();
    QLinearGradient blue(26, 46, 70, 82);
    blue.setColorAt(0, QColor(90, 180, 255));
    blue.setColorAt(1, QColor(20, 80, 170));
    painter.setPen(QPen(QColor(255, 255, 255, 150), 0.8));
    painter.setBrush(blue);
    painter.drawPath(wing);
    painter.drawPath(tip);

    QFont word = ArtFont(19, QFont::Black);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
    PaintEngravedText(painter, QRectF(74, 52, 130, 32), QStringLiteral("KESTRANE"), word,
                      Qt::AlignLeft | Qt::AlignVCenter);
    QFont product = ArtFont(15, QFont::DemiBold);
    product.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    PaintEngravedText(painter, QRectF(76, 84, 130, 20), QStringLiteral("SONAVEL"), product,
                      Qt::AlignLeft | Qt::AlignVCenter);
    painter.setPen(QPen(QColor(60, 130, 220), 1.4));
    painter.drawLine(QPointF(26, 112), QPointF(196, 112));
    const QFont small = ArtFont(9, QFont::Bold, true);
    PaintEngravedText(painter, QRectF(26, 118, 172, 14), QStringLiteral("HIGH RESOLUTION AUDIO PLAYER"),
                      small, Qt::AlignLeft | Qt::AlignVCenter);
    PaintEngravedText(painter, QRectF(26, 134, 172, 14),
                      QStringLiteral("PCM  \u00b7  DSD NATIVE  \u00b7  DoP"), small,
                      Qt::AlignLeft | Qt::AlignVCenter);
    painter.restore();
}

void PaintDisplayWindow(QPainter& painter)
{
    PaintRecessedRect(painter, QRectF(203, 44, 294, 84), 4, QColor(0, 0, 0));
}

void PaintSeekGroove(QPainter& painter)
{
    // The slot the seek thumb rides in, centred on the thumb's axis at y = 140.
    const QRectF slot(212, 137, 276, 6);
    QLinearGradient inside(slot.topLeft(), slot.bottomLeft());
    inside.setColorAt(0, QColor(18, 20, 24));
    inside.setColorAt(1, QColor(60, 64, 70));
    PaintRecessedRect(painter, slot, 3, inside);
    painter.save();
    // Scale marks below the slot, every tenth of the span.
    painter.setPen(QPen(kEngraving, 1));
    for (int i = 0; i <= 10; ++i) {
        const qreal x = 212 + 276.0 * i / 10;
        painter.drawLine(QPointF(x, 150), QPointF(x, i % 5 == 0 ? 156 : 153));
    }
    painter.restore();
}

void PaintTransportSymbol(QPainter& painter, QPointF centre, bool next)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(centre);
    if (!next) {
        painter.scale(-1, 1);
    }
    QPainterPath arrows;
    arrows.moveTo(-8, -4);
    arrows.lineTo(-2, 0);
    arrows.lineTo(-8, 4);
    arrows.closeSubpath();
    arrows.moveTo(-2, -4);
    arrows.lineTo(4, 0);
    arrows.lineTo(-2, 4);
    arrows.closeSubpath();
    arrows.addRect(4.5, -4, 1.8, 8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 170));
    painter.drawPath(arrows.translated(0, 1));
    painter.setBrush(kEngraving);
    painter.drawPath(arrows);
    painter.restore();
}

void PaintTransportDeck(QPainter& painter)
{
    struct Well {
        QPointF centre;
        const char* caption;
    };
    // Centres of the 27 x 27 buttons at (527|576|625, 115) and (576|625, 58).
    const Well wells[] = {
        {{540.5, 128.5}, "STOP"}, {{589.5, 128.5}, "PLAY"}, {{638.5, 128.5}, "PAUSE"},
        {{589.5, 71.5}, nullptr}, {{638.5, 71.5}, nullptr},
    };
    const QFont caption = ArtFont(9, QFont::Bold, true);
    for (const Well& well : wells) {
        PaintRecessedCircle(painter, well.centre, 15);
        if (well.caption != nullptr) {
            PaintEngravedText(painter, QRectF(well.centre.x() - 24, 148, 48, 12),
                              QString::fromLatin1(well.caption), caption, Qt::AlignCenter);
        }
    }
    PaintTransportSymbol(painter, {589.5, 96}, false);
    PaintTransportSymbol(painter, {638.5, 96}, true);
    // Bezels of the two lamps at (573, 107) and (622, 107).
    for (const QPointF lamp : {QPointF(577.5, 111.5), QPointF(626.5, 111.5)}) {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 200));
        painter.drawEllipse(lamp + QPointF(0.6, 0.6), 5.4, 5.4);
        painter.setBrush(QColor(70, 74, 80));
        painter.drawEllipse(lamp, 5, 5);
        painter.restore();
    }
}

void PaintPlaylistBay(QPainter& painter)
{
    PaintEngravedText(painter, QRectF(20, 175, 200, 14), QStringLiteral("PLAYLIST"),
                      ArtFont(9, QFont::Bold, true), Qt::AlignLeft | Qt::AlignVCenter);
    const QRectF bay(18, 191, 676, 330);
    PaintRecessedRect(painter, bay, 0, QColor(255, 255, 255));
    PaintEngravedText(painter, QRectF(20, 526, 180, 14), QStringLiteral("KESTRANE  SONAVEL"),
                      ArtFont(9, QFont::Bold, true), Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

QImage PaintPanel()
{
    QImage panel(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
    FillBrushedMetal(panel, panel.rect(), 300);
    QPainter painter(&panel);
    PaintPanelEdges(painter);
    for (const QPointF screw : {QPointF(12, 12), QPointF(696, 12), QPointF(12, 554), QPointF(696, 554)}) {
        PaintScrew(painter, screw);
    }
    PaintLogo(painter);
    PaintDisplayWindow(painter);
    PaintSeekGroove(painter);
    PaintTransportDeck(painter);
    PaintPlaylistBay(painter);
    return panel;
}

} // namespace sonavel::art
