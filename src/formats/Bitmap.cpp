#include "formats/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace zel {

namespace {

// Where destination sample `i` of `to` reads along an axis of `from` samples.
struct Span {
    int first;
    int count;   // shrinking: the source samples averaged
    int weight;  // growing: the share of `first + 1`, out of 256
};

std::vector<Span> spans(int from, int to) {
    std::vector<Span> result(static_cast<std::size_t>(to));
    if (to <= from) {
        for (int i = 0; i < to; ++i) {
            const int begin = static_cast<int>(static_cast<long long>(i) * from / to);
            const int end = static_cast<int>(static_cast<long long>(i + 1) * from / to);
            result[i] = {begin, std::max(end - begin, 1), 0};
        }
        return result;
    }
    for (int i = 0; i < to; ++i) {
        const double at = (i + 0.5) * from / to - 0.5;
        const double clamped = std::clamp(at, 0.0, static_cast<double>(from - 1));
        int first = static_cast<int>(clamped);
        if (first >= from - 1) first = std::max(from - 2, 0);
        int weight = static_cast<int>(std::lround((clamped - first) * 256));
        if (from == 1) weight = 0;
        result[i] = {first, 1, std::clamp(weight, 0, 256)};
    }
    return result;
}

// One axis of the resampling: rows stay, each row's samples are resampled.
Bitmap resampleRows(const Bitmap& source, int width) {
    Bitmap out;
    if (!out.allocate(width, source.height, source.channels)) return out;
    const std::vector<Span> plan = spans(source.width, width);
    const int c = source.channels;
    const bool growing = width > source.width;
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* to = out.row(y);
        for (int x = 0; x < width; ++x) {
            const Span& s = plan[x];
            for (int k = 0; k < c; ++k) {
                if (growing) {
                    const int a = in[s.first * c + k];
                    const int b = source.width > 1 ? in[(s.first + 1) * c + k] : a;
                    to[x * c + k] =
                        static_cast<std::uint8_t>((a * (256 - s.weight) + b * s.weight + 128) >> 8);
                } else {
                    unsigned sum = 0;
                    for (int j = 0; j < s.count; ++j) sum += in[(s.first + j) * c + k];
                    to[x * c + k] = static_cast<std::uint8_t>((sum + s.count / 2) / s.count);
                }
            }
        }
    }
    return out;
}

// The other axis: each destination row from the source rows it covers.
Bitmap resampleColumns(const Bitmap& source, int height) {
    Bitmap out;
    if (!out.allocate(source.width, height, source.channels)) return out;
    const std::vector<Span> plan = spans(source.height, height);
    const std::size_t n = source.stride();
    const bool growing = height > source.height;
    std::vector<unsigned> sum(n);
    for (int y = 0; y < height; ++y) {
        const Span& s = plan[y];
        std::uint8_t* to = out.row(y);
        if (growing) {
            const std::uint8_t* a = source.row(s.first);
            const std::uint8_t* b = source.height > 1 ? source.row(s.first + 1) : a;
            for (std::size_t i = 0; i < n; ++i)
                to[i] = static_cast<std::uint8_t>(
                    (a[i] * (256 - s.weight) + b[i] * s.weight + 128) >> 8);
            continue;
        }
        std::fill(sum.begin(), sum.end(), 0u);
        for (int j = 0; j < s.count; ++j) {
            const std::uint8_t* in = source.row(s.first + j);
            for (std::size_t i = 0; i < n; ++i) sum[i] += in[i];
        }
        const unsigned half = static_cast<unsigned>(s.count) / 2;
        for (std::size_t i = 0; i < n; ++i)
            to[i] = static_cast<std::uint8_t>((sum[i] + half) / static_cast<unsigned>(s.count));
    }
    return out;
}

}  // namespace

bool Bitmap::allocate(int w, int h, int c) {
    width = height = channels = 0;
    pixels.clear();
    if (w <= 0 || h <= 0 || (c != 1 && c != 3 && c != 4)) return false;
    const auto total = static_cast<unsigned long long>(w) * static_cast<unsigned long long>(h) * c;
    if (total > std::numeric_limits<std::size_t>::max() / 2) return false;
    try {
        pixels.assign(static_cast<std::size_t>(total), 0);
    } catch (const std::exception&) {
        return false;
    }
    width = w;
    height = h;
    channels = c;
    return true;
}

Bitmap whiteBitmap(int width, int height) {
    Bitmap white;
    if (white.allocate(width, height, 3)) std::fill(white.pixels.begin(), white.pixels.end(), 0xFF);
    return white;
}

Bitmap flattenedOnWhite(const Bitmap& source) {
    if (source.channels == 3 || source.isNull()) return source;
    Bitmap out;
    if (!out.allocate(source.width, source.height, 3)) return out;
    const std::size_t count = static_cast<std::size_t>(source.width) * source.height;
    const std::uint8_t* in = source.pixels.data();
    std::uint8_t* to = out.pixels.data();
    if (source.channels == 1) {
        for (std::size_t i = 0; i < count; ++i) to[3 * i] = to[3 * i + 1] = to[3 * i + 2] = in[i];
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned alpha = in[4 * i + 3];
            for (int k = 0; k < 3; ++k)
                to[3 * i + k] = static_cast<std::uint8_t>(
                    (in[4 * i + k] * alpha + 255u * (255u - alpha) + 127u) / 255u);
        }
    }
    return out;
}

Bitmap scaledBitmap(const Bitmap& source, int width, int height) {
    if (source.isNull() || width <= 0 || height <= 0) return {};
    if (width == source.width && height == source.height) return source;
    // The narrower intermediate first: shrinking the larger axis early does
    // the least work.
    if (width <= source.width) {
        const Bitmap rows = width == source.width ? source : resampleRows(source, width);
        if (rows.isNull()) return {};
        return height == rows.height ? rows : resampleColumns(rows, height);
    }
    const Bitmap columns = height == source.height ? source : resampleColumns(source, height);
    if (columns.isNull()) return {};
    return resampleRows(columns, width);
}

void fitInside(int width, int height, int boxWidth, int boxHeight, int& fittedWidth,
               int& fittedHeight) {
    fittedWidth = std::max(boxWidth, 0);
    fittedHeight = std::max(boxHeight, 0);
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return;
    // Compare the proportions in integers: which side of the box binds.
    if (static_cast<long long>(boxWidth) * height <= static_cast<long long>(boxHeight) * width) {
        fittedHeight = static_cast<int>(
            std::max(1LL, (static_cast<long long>(boxWidth) * height + width / 2) / width));
    } else {
        fittedWidth = static_cast<int>(
            std::max(1LL, (static_cast<long long>(boxHeight) * width + height / 2) / height));
    }
}

}  // namespace zel
