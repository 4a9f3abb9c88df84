#include "ui/CustomLED.h"

#include "ui/PseudoTransparentBackgroundControl.h"
#include "ui/SkinPicture.h"

#include <QPainter>

namespace sonavel {
namespace {

constexpr int kOffPicture = 358;
constexpr int kOnPicture = 359;

} // namespace

CCustomLED::CCustomLED(QWidget* parent)
    : QWidget(parent), off_(LoadSkinPicture(kOffPicture)), on_(LoadSkinPicture(kOnPicture))
{
}

void CCustomLED::SetParentBackground(const QImage& background)
{
    background_ = CutParentBackground(*this, background);
}

void CCustomLED::SetLit(bool lit)
{
    lit_ = lit;
    update();
}

void CCustomLED::paintEvent(QPaintEvent*)
{
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, background_);
    painter.drawImage(0, 0, lit_ ? on_ : off_);
}

} // namespace sonavel
