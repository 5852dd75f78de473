#pragma once
// The edge between the pictures of the image readers and Qt's images.

#include <QImage>

#include <string_view>

#include "formats/Bitmap.h"
#include "formats/ImageCodecs.h"

namespace zel {

// The picture as a QImage that shares the bitmap's pixels: valid while the
// bitmap lives and keeps its size.
QImage imageView(const Bitmap& bitmap);
// A QImage that owns its pixels (the bitmap's moved into it).
QImage toQImage(Bitmap&& bitmap);
// The picture `bytes` hold in `format`; a null image when they do not read.
QImage decodeToQImage(std::string_view bytes, ImageFormat format);
// A Qt picture as RGB, or RGBA when it has transparency.
Bitmap fromQImage(const QImage& image);

}  // namespace zel
