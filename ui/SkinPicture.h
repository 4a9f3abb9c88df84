#pragma once

#include <QImage>

namespace sonavel {

// A picture of the program's resources by its number, as premultiplied 32-bit pixels so that it
// is drawn with per-pixel alpha; a null image when the resource is missing or unreadable.
QImage LoadSkinPicture(int id);

// The same as opaque pixels, for the panel and the LCD bitmaps.
QImage LoadSkinBitmap(int id);

} // namespace sonavel
