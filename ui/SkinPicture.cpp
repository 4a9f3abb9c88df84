#include "ui/SkinPicture.h"

#include <QString>

namespace sonavel {
namespace {

QImage LoadResource(int id)
{
    return QImage(QStringLiteral(":/art/%1.png").arg(id));
}

} // namespace

QImage LoadSkinPicture(int id)
{
    const QImage image = LoadResource(id);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage LoadSkinBitmap(int id)
{
    const QImage image = LoadResource(id);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace sonavel
