#include "views/BitmapQt.h"

#include <cstring>

namespace zel {

namespace {

QImage::Format formatOf(const Bitmap& bitmap) {
    switch (bitmap.channels) {
        case 1:
            return QImage::Format_Grayscale8;
        case 4:
            return QImage::Format_RGBA8888;
        default:
            return QImage::Format_RGB888;
    }
}

}  // namespace

QImage imageView(const Bitmap& bitmap) {
    if (bitmap.isNull()) return {};
    return QImage(bitmap.pixels.data(), bitmap.width, bitmap.height,
                  static_cast<qsizetype>(bitmap.stride()), formatOf(bitmap));
}

QImage toQImage(Bitmap&& bitmap) {
    if (bitmap.isNull()) return {};
    auto* pixels = new std::vector<std::uint8_t>(std::move(bitmap.pixels));
    QImage image(
        pixels->data(), bitmap.width, bitmap.height, static_cast<qsizetype>(bitmap.stride()),
        formatOf(bitmap),
        [](void* owned) { delete static_cast<std::vector<std::uint8_t>*>(owned); }, pixels);
    bitmap = Bitmap{};
    return image;
}

QImage decodeToQImage(std::string_view bytes, ImageFormat format) {
    DecodedImage decoded = decodeImage(bytes, format);
    return decoded.ok() ? toQImage(std::move(decoded.bitmap)) : QImage();
}

Bitmap fromQImage(const QImage& image) {
    Bitmap bitmap;
    if (image.isNull()) return bitmap;
    const bool alpha = image.hasAlphaChannel();
    const QImage converted =
        image.convertToFormat(alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    if (!bitmap.allocate(converted.width(), converted.height(), alpha ? 4 : 3)) return bitmap;
    for (int y = 0; y < bitmap.height; ++y)
        std::memcpy(bitmap.row(y), converted.constScanLine(y), bitmap.stride());
    return bitmap;
}

}  // namespace zel
