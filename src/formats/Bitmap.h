#pragma once
// A decoded picture in memory, as the image readers give it and the writers
// take it: rows of 8-bit samples, top row first, without padding. Gray
// pictures keep one sample per pixel, colour ones three (red, green, blue),
// pictures with transparency four (alpha last, not premultiplied).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zel {

struct Bitmap {
    int width = 0;
    int height = 0;
    int channels = 0;  // 1 gray, 3 RGB, 4 RGBA
    std::vector<std::uint8_t> pixels;

    bool isNull() const { return width <= 0 || height <= 0 || pixels.empty(); }
    std::size_t stride() const { return static_cast<std::size_t>(width) * channels; }
    std::uint8_t* row(int y) { return pixels.data() + static_cast<std::size_t>(y) * stride(); }
    const std::uint8_t* row(int y) const {
        return pixels.data() + static_cast<std::size_t>(y) * stride();
    }
    // Room for a picture of that size; false past kMaxBytes or when memory
    // runs out (the cap keeps a hostile size from being asked of the heap).
    bool allocate(int width, int height, int channels);
    static constexpr unsigned long long kMaxBytes = 4ull << 30;
};

// Asks the kernel for huge pages for the aligned inside of a large block that
// is reserved and not yet touched. A large picture's memory is touched page by
// page, by a zero fill and then by a decoder or encoder; in 4 KB pages the
// faults of a 24-megapixel picture cost twice its decoding. Advice only: where
// it is refused, ordinary pages serve as before.
void askForHugePages(void* block, std::size_t size);

// A white picture of the given size (the empty body's stand-in).
Bitmap whiteBitmap(int width, int height);

// The picture as RGB with any transparency laid over white: what a format
// without alpha (JPEG, the BMP files we write) gets.
Bitmap flattenedOnWhite(const Bitmap& source);

// The picture resampled to `width` x `height`: averaged over the covered
// pixels when shrinking, interpolated linearly when growing. Null when the
// source is null or a size is not positive.
Bitmap scaledBitmap(const Bitmap& source, int width, int height);

// The largest size of the picture's proportions that fits in the box.
void fitInside(int width, int height, int boxWidth, int boxHeight, int& fittedWidth,
               int& fittedHeight);

}  // namespace zel
