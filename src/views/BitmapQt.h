#pragma once
// The edge between the pictures of the image readers and Qt's images.

#include <QImage>

#include "formats/Bitmap.h"

namespace zel {

// The picture as a QImage that shares the bitmap's pixels: valid while the
// bitmap lives and keeps its size.
QImage imageView(const Bitmap& bitmap);
// A QImage that owns its pixels (the bitmap's moved into it).
QImage toQImage(Bitmap&& bitmap);
// A Qt picture as RGB, or RGBA when it has transparency.
Bitmap fromQImage(const QImage& image);

}  // namespace zel
