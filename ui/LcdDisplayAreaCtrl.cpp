#include "ui/LcdDisplayAreaCtrl.h"

#include "sources/MusicTypes.h"
#include "ui/SkinPicture.h"

#include <QPainter>

namespace sonavel {
namespace {

enum LcdBitmap { kDimFormats, kLitFormats, kRates, kBitDepths, kGlyphs };
constexpr int kFirstBitmap = 340;
constexpr QRect kClockRect(98, 27, 160, 32);
constexpr int kGlyphWidth = 20;

} // namespace

CLcdDisplayAreaCtrl::CLcdDisplayAreaCtrl(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CLcdDisplayAreaCtrl::LoadBitmaps()
{
    for (size_t i = 0; i < bitmaps_.size(); ++i) {
        bitmaps_[i] = LoadSkinBitmap(kFirstBitmap + static_cast<int>(i));
    }
}

void CLcdDisplayAreaCtrl::SetParentBackground(const QImage& background)
{
    background_ = CutParentBackground(*this, background);
}

void CLcdDisplayAreaCtrl::SetFormat(const MusicTrackInfo* entry)
{
    indexes_ = entry == nullptr ? LcdIndexes{}
                                : SelectLcdIndexes(entry->formatName, entry->format.nSamplesPerSec,
                                                   entry->format.wBitsPerSample);
    update();
}

void CLcdDisplayAreaCtrl::SetClock(int32_t seconds, int32_t minutes, int32_t hours)
{
    clock_ = LcdClockCells(hours, minutes, seconds);
    update(kClockRect);
}

void CLcdDisplayAreaCtrl::paintEvent(QPaintEvent*)
{
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
    painter.drawImage(10, 5, bitmaps_[kDimFormats]);
    if (indexes_.format >= 0) {
        const LcdFormatLabel& label = kLcdFormatLabels[static_cast<size_t>(indexes_.format)];
        painter.drawImage(QPoint(label.x, 5), bitmaps_[kLitFormats],
                          QRect(label.sourceX, 0, label.width, 15));
    }
    if (indexes_.rate >= 0) {
        painter.drawImage(QPoint(13, 31), bitmaps_[kRates], QRect(9, indexes_.rate * 21 + 9, 58, 11));
    }
    if (indexes_.bitDepth >= 0) {
        painter.drawImage(QPoint(13, 45), bitmaps_[kBitDepths],
                          QRect(10, indexes_.bitDepth * 21 + 11, 32, 11));
    }
    for (size_t k = 0; k < clock_.size(); ++k) {
        const int32_t glyph = clock_[k];
        if (glyph >= 0 && glyph <= 10) {
            painter.drawImage(QPoint(kClockRect.left() + kGlyphWidth * static_cast<int>(k), kClockRect.top()),
                              bitmaps_[kGlyphs], QRect(glyph * kGlyphWidth, 0, kGlyphWidth, 32));
        }
    }
}

} // namespace sonavel
