// PNG through libpng, from memory. libpng reports errors through a callback
// that jumps back into the step that armed it; those steps hold no C++ objects.

#include <png.h>

#include <cstring>

#include "formats/ImageCodecs.h"

namespace zel {

namespace {

struct Source {
    std::string_view bytes;
    std::size_t at = 0;
    char message[200] = {};
};

Source& sourceOf(png_structp png) {
    return *static_cast<Source*>(png_get_error_ptr(png));
}

void onError(png_structp png, png_const_charp text) {
    Source& source = sourceOf(png);
    std::snprintf(source.message, sizeof source.message, "%s", text ? text : "unknown error");
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void readData(png_structp png, png_bytep out, png_size_t count) {
    auto& source = *static_cast<Source*>(png_get_io_ptr(png));
    if (count > source.bytes.size() - source.at) png_error(png, "the data ends too early");
    std::memcpy(out, source.bytes.data() + source.at, count);
    source.at += count;
}

// The header, and the transformations that give 8-bit gray, RGB or RGBA.
bool readInfo(png_structp png, png_infop info, const ImageLimits& limits) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_user_limits(png, limits.maxSide, limits.maxSide);
    png_set_chunk_malloc_max(png, limits.maxChunkBytes);
    png_read_info(png, info);
    const png_byte type = png_get_color_type(png, info);
    const png_byte depth = png_get_bit_depth(png, info);
    if (depth == 16) png_set_strip_16(png);
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    const bool transparent = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (transparent) png_set_tRNS_to_alpha(png);
    // Gray with transparency becomes RGBA: the bitmap has no gray-alpha form.
    if ((type == PNG_COLOR_TYPE_GRAY && transparent) || type == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

bool readImage(png_structp png, png_infop info, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, info);
    return true;
}

}  // namespace

DecodedImage decodePng(std::string_view bytes, const ImageLimits& limits) {
    DecodedImage result;
    if (bytes.size() < 8 ||
        png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0) {
        result.error = bytes.empty() ? "No PNG data" : "Not a PNG picture";
        return result;
    }
    Source source;
    source.bytes = bytes;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        result.error = "Not enough memory for the PNG picture";
        return result;
    }
    png_set_read_fn(png, &source, readData);
    if (!readInfo(png, info, limits)) {
        result.error = std::string("Not a readable PNG picture: ") + source.message;
    } else {
        const png_uint_32 width = png_get_image_width(png, info);
        const png_uint_32 height = png_get_image_height(png, info);
        const int channels = png_get_channels(png, info);
        if (static_cast<std::uint64_t>(width) * height > limits.maxPixels) {
            result.error = "The PNG picture is too large: " + std::to_string(width) + " x " +
                           std::to_string(height);
        } else if ((channels != 1 && channels != 3 && channels != 4) ||
                   png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * channels) {
            result.error = "Not a readable PNG picture: unexpected sample layout";
        } else if (!result.bitmap.allocate(static_cast<int>(width), static_cast<int>(height),
                                           channels)) {
            result.error = "Not enough memory for the PNG picture";
        } else {
            std::vector<png_bytep> rows(height);
            for (png_uint_32 y = 0; y < height; ++y)
                rows[y] = result.bitmap.row(static_cast<int>(y));
            if (!readImage(png, info, rows.data())) {
                result.error = std::string("Not a readable PNG picture: ") + source.message;
                result.bitmap = {};
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

}  // namespace zel
