// The picture readers on arbitrary bytes: JPEG, PNG, bitmap and icon, each
// under small limits. A picture that reads must be whole (its pixels fill
// its size), and survive being written as a bitmap and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/ImageCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    zel::ImageLimits limits;
    limits.maxPixels = 1u << 20;
    limits.maxSide = 4096;
    limits.maxScans = 64;
    static const zel::ImageFormat formats[] = {zel::ImageFormat::Jpeg, zel::ImageFormat::Png,
                                               zel::ImageFormat::Bmp, zel::ImageFormat::Ico};
    const zel::ImageFormat format = formats[data[0] % 4];
    const zel::DecodedImage image = data[0] & 4 && format == zel::ImageFormat::Jpeg
                                        ? zel::decodeJpegToFit(bytes, 64, 64, limits)
                                        : zel::decodeImage(bytes, format, limits);
    if (!image.ok()) {
        if (!image.bitmap.isNull() || image.error.empty()) std::abort();
        return 0;
    }
    const zel::Bitmap& b = image.bitmap;
    if (b.pixels.size() != b.stride() * static_cast<std::size_t>(b.height)) std::abort();
    if (b.channels != 3) return 0;
    const zel::DecodedImage again = zel::decodeBmp(zel::encodeBmp(b).bytes, limits);
    if (!again.ok() || again.bitmap.pixels != b.pixels) std::abort();
    return 0;
}
