#include "formats/ImageConversion.h"

#include "text/TextHelpers.h"

namespace zel {

namespace {

// The text after the last separator ("\" read as "/", and ":").
std::string fileNamePartOf(std::string_view name) {
    const std::string path = withSlashes(name);
    const std::size_t cut = path.find_last_of("/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

ImageConversion convertPicture(const Bitmap& picture, ImageTarget target,
                               const JpegOptions& options) {
    ImageConversion result;
    const EncodedImage encoded =
        target == ImageTarget::Jpeg ? encodeJpeg(picture, options) : encodeBmp(picture);
    result.contentType = target == ImageTarget::Jpeg ? "image/jpeg" : "image/bmp";
    result.extension = target == ImageTarget::Jpeg ? ".jpg" : ".bmp";
    if (encoded.ok())
        result.bytes = encoded.bytes;
    else
        result.error = encoded.error.empty() ? std::string("size = 0") : encoded.error;
    return result;
}

ImageConversion convertContent(std::string_view content, std::string_view contentType,
                               ImageTarget target, const JpegOptions& options,
                               const ImageLimits& limits) {
    const ImageFormat format = imageFormatOfType(contentType);
    if (format == ImageFormat::Unknown) {
        ImageConversion refused;
        refused.error = target == ImageTarget::Jpeg
                            ? "not understand image format " + std::string(contentType)
                            : std::string("not understand image format");
        return refused;
    }
    const DecodedImage picture = decodeImage(content, format, limits);
    if (!picture.ok()) {
        ImageConversion refused;
        refused.error = picture.error;
        return refused;
    }
    return convertPicture(picture.bitmap, target, options);
}

std::string convertedFileName(std::string_view oldFileName, std::string_view extension,
                              std::string_view stamp) {
    if (oldFileName.empty()) return std::string(stamp) + std::string(extension);
    // Stored "\" separators are read as "/" and written so.
    return withExtension(withSlashes(oldFileName), extension);
}

std::string convertedNodeName(std::string_view name, std::string_view oldFileName,
                              std::string_view newFileName, std::string_view extension) {
    if (name == oldFileName) return std::string(newFileName);
    if (oldFileName == fileNamePartOf(name)) return fileNamePartOf(newFileName);
    if (!extensionOf(name).empty()) return withExtension(name, extension);
    return {};
}

}  // namespace zel
