#pragma once
// Reading and writing the pictures that image nodes hold: JPEG (libjpeg, read
// and written), PNG (libpng, read only), Windows bitmaps (read and written)
// and Windows icons (read). Every reader takes bytes from anywhere: it never
// exits or aborts, refuses pictures larger than its limits before it
// allocates them, and on any fault gives no picture and a one-line reason.

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/Bitmap.h"

namespace zel {

enum class ImageFormat { Unknown, Jpeg, Png, Bmp, Ico };

// The format a Content-Type names ("image/jpeg", quotes allowed); Unknown
// for any other type. Only the stored names count: "image/jpeg",
// "image/png", "image/bmp", "image/ico".
ImageFormat imageFormatOfType(std::string_view contentType);
// The format the bytes begin like, whatever their name says.
ImageFormat sniffImageFormat(std::string_view bytes);
const char* imageFormatName(ImageFormat format);

struct ImageLimits {
    // Decoded pixels at most (a 100-megapixel picture takes 400 MB as RGBA).
    std::uint64_t maxPixels = 100'000'000;
    // Either side at most.
    std::uint32_t maxSide = 65'500;
    // JPEG: progressive scans at most (a hostile file can ask for millions).
    int maxScans = 1'000;
    // PNG: bytes of one ancillary chunk at most (text and profile bombs).
    std::uint32_t maxChunkBytes = 8u << 20;
};

struct DecodedImage {
    Bitmap bitmap;
    std::string error;  // empty when the picture was read
    // The picture's own size when it was decoded smaller (decodeJpegToFit).
    int wholeWidth = 0;
    int wholeHeight = 0;
    bool ok() const { return error.empty() && !bitmap.isNull(); }
};

DecodedImage decodeImage(std::string_view bytes, ImageFormat format,
                         const ImageLimits& limits = {});
DecodedImage decodeJpeg(std::string_view bytes, const ImageLimits& limits = {});
// Decoded for a window of `boxWidth` x `boxHeight`: at 1/8, 1/4, 1/2 or the
// whole of its size, the smallest that still covers the picture fitted into
// the box. Every byte is read and checked as by decodeJpeg.
DecodedImage decodeJpegToFit(std::string_view bytes, int boxWidth, int boxHeight,
                             const ImageLimits& limits = {});
DecodedImage decodePng(std::string_view bytes, const ImageLimits& limits = {});
DecodedImage decodeBmp(std::string_view bytes, const ImageLimits& limits = {});
// The largest picture of the icon file, the one with most colours first.
DecodedImage decodeIco(std::string_view bytes, const ImageLimits& limits = {});

struct JpegOptions {
    int quality = 95;  // 1 to 100; values outside are brought inside
    bool grayscale = false;
};

struct EncodedImage {
    std::string bytes;
    std::string error;  // empty when written
    bool ok() const { return error.empty() && !bytes.empty(); }
};

// Transparency is laid over white: neither format keeps it.
EncodedImage encodeJpeg(const Bitmap& bitmap, const JpegOptions& options = {});
// A 24-bit uncompressed Windows bitmap, bottom row first.
EncodedImage encodeBmp(const Bitmap& bitmap);

}  // namespace zel
