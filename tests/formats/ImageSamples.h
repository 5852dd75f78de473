#pragma once
// Pictures for the image tests: bitmaps with known pixels, PNG files written
// with libpng's own writer (any colour type, depth and interlacing), bytes
// patched the way hostile files are, and the system's reference tools.

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "formats/Bitmap.h"

namespace zel::test {

// A picture whose every pixel tells where it is: red grows to the right,
// green downwards, blue is their sum; alpha (when asked) falls to the right.
inline Bitmap gradientBitmap(int width, int height, int channels) {
    Bitmap bitmap;
    bitmap.allocate(width, height, channels);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = bitmap.row(y);
        for (int x = 0; x < width; ++x, p += channels) {
            const auto r = static_cast<std::uint8_t>(x * 255 / std::max(width - 1, 1));
            const auto g = static_cast<std::uint8_t>(y * 255 / std::max(height - 1, 1));
            if (channels == 1) {
                p[0] = r;
                continue;
            }
            p[0] = r, p[1] = g, p[2] = static_cast<std::uint8_t>((r + g) / 2);
            if (channels == 4) p[3] = static_cast<std::uint8_t>(255 - r);
        }
    }
    return bitmap;
}

// The largest difference of one sample between two pictures of one shape.
inline int largestDifference(const Bitmap& a, const Bitmap& b) {
    int worst = 0;
    for (std::size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i)
        worst = std::max(worst, std::abs(int(a.pixels[i]) - int(b.pixels[i])));
    return worst;
}

struct PngSpec {
    int width = 0, height = 0;
    int colorType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;  // tRNS for palettes
    // Packed rows as the file stores them.
    std::vector<std::vector<png_byte>> rows;
};

inline void appendPng(png_structp png, png_bytep data, png_size_t size) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), size);
}

inline std::string writePng(const PngSpec& spec) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendPng, nullptr);
    png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
                 spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!spec.palette.empty())
        png_set_PLTE(png, info, spec.palette.data(), static_cast<int>(spec.palette.size()));
    if (!spec.transparency.empty())
        png_set_tRNS(png, info, spec.transparency.data(),
                     static_cast<int>(spec.transparency.size()), nullptr);
    std::vector<png_bytep> rows;
    for (const auto& row : spec.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// An 8-bit RGB or RGBA PNG of `bitmap`.
inline std::string pngOf(const Bitmap& bitmap, bool interlaced = false) {
    PngSpec spec;
    spec.width = bitmap.width;
    spec.height = bitmap.height;
    spec.colorType = bitmap.channels == 4   ? PNG_COLOR_TYPE_RGBA
                     : bitmap.channels == 1 ? PNG_COLOR_TYPE_GRAY
                                            : PNG_COLOR_TYPE_RGB;
    spec.interlaced = interlaced;
    for (int y = 0; y < bitmap.height; ++y)
        spec.rows.emplace_back(bitmap.row(y), bitmap.row(y) + bitmap.stride());
    return writePng(spec);
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `command`; its standard output, and its exit status in `status`.
inline std::string runCommand(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return out;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

}  // namespace zel::test
