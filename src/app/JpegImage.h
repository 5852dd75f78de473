#pragma once
// JPEG pictures decoded with libjpeg (the about window and the splash).

#include <QImage>
#include <string_view>

namespace zel {

// The decoded picture; a null image when the bytes are not a readable JPEG.
QImage decodeJpeg(std::string_view bytes);

}  // namespace zel
