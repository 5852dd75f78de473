#include "formats/ImageCodecs.h"

#include "text/TextHelpers.h"

namespace zel {

ImageFormat imageFormatOfType(std::string_view contentType) {
    const std::string type = stripQuotes(contentType);
    if (type == "image/jpeg") return ImageFormat::Jpeg;
    if (type == "image/png") return ImageFormat::Png;
    if (type == "image/bmp") return ImageFormat::Bmp;
    if (type == "image/ico") return ImageFormat::Ico;
    return ImageFormat::Unknown;
}

ImageFormat sniffImageFormat(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xD8\xFF")) return ImageFormat::Jpeg;
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) return ImageFormat::Png;
    if (bytes.starts_with("BM")) return ImageFormat::Bmp;
    if (bytes.size() >= 4 && bytes.substr(0, 4) == std::string_view("\0\0\1\0", 4))
        return ImageFormat::Ico;
    return ImageFormat::Unknown;
}

const char* imageFormatName(ImageFormat format) {
    switch (format) {
        case ImageFormat::Jpeg:
            return "JPEG";
        case ImageFormat::Png:
            return "PNG";
        case ImageFormat::Bmp:
            return "BMP";
        case ImageFormat::Ico:
            return "ICO";
        default:
            return "unknown";
    }
}

DecodedImage decodeImage(std::string_view bytes, ImageFormat format, const ImageLimits& limits) {
    switch (format) {
        case ImageFormat::Jpeg:
            return decodeJpeg(bytes, limits);
        case ImageFormat::Png:
            return decodePng(bytes, limits);
        case ImageFormat::Bmp:
            return decodeBmp(bytes, limits);
        case ImageFormat::Ico:
            return decodeIco(bytes, limits);
        default:
            return {{}, "Not a picture format this program reads"};
    }
}

}  // namespace zel
