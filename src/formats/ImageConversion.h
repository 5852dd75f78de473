#pragma once
// Converting an image node's picture to JPEG or BMP: the new bytes, the new
// Filename and the node's new name. The window's image view and zel-tool
// apply the same rules; neither changes a node unless the encoding worked.

#include <string>
#include <string_view>

#include "formats/ImageCodecs.h"

namespace zel {

enum class ImageTarget { Jpeg, Bmp };

struct ImageConversion {
    std::string bytes;
    std::string contentType;  // unquoted: "image/jpeg" or "image/bmp"
    std::string extension;    // ".jpg" or ".bmp"
    std::string error;        // empty when `bytes` hold the picture
    bool ok() const { return error.empty() && !bytes.empty(); }
};

// `picture` (decoded from the node's own content) written as `target`.
ImageConversion convertPicture(const Bitmap& picture, ImageTarget target,
                               const JpegOptions& options = {});

// The node's content of type `contentType` decoded and written as `target`;
// a type that is not one of the four image types gives "not understand
// image format " and the stored type (for BMP without the type).
ImageConversion convertContent(std::string_view content, std::string_view contentType,
                               ImageTarget target, const JpegOptions& options = {},
                               const ImageLimits& limits = {});

// The Filename after a conversion: the old one (unquoted) with `extension`,
// or `stamp` ("yyyymmddhhnnss" of now) + `extension` when there was none.
std::string convertedFileName(std::string_view oldFileName, std::string_view extension,
                              std::string_view stamp);
// The node's name after a conversion, or empty when it keeps its name: the
// new file name when the node was named like its old Filename, its file-name
// part when the old Filename was the file-name part of the name, the name
// with the new extension when it has one.
std::string convertedNodeName(std::string_view name, std::string_view oldFileName,
                              std::string_view newFileName, std::string_view extension);

}  // namespace zel
