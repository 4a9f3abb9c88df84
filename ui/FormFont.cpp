#include "ui/FormFont.h"

#include <QStringList>

namespace sonavel {
namespace {

QFont TahomaAtPixels(int pixels)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies(
        QStringList{QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    font.setPixelSize(pixels);
    return font;
}

} // namespace

QFont FormFont()
{
    return TahomaAtPixels(13);
}

QFont DialogFont()
{
    return TahomaAtPixels(12);
}

} // namespace sonavel
