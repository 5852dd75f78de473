#include "formats/Bitmap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#ifdef __linux__
#include <sys/mman.h>
#endif

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

// Averages divide by a multiplication: 1/count in 24 fractional bits.
constexpr int kShareBits = 24;
std::uint64_t shareOf(int count) {
    return ((std::uint64_t{1} << kShareBits) + static_cast<unsigned>(count) / 2) /
           static_cast<unsigned>(count);
}
std::uint8_t averaged(unsigned sum, std::uint64_t share) {
    const std::uint64_t value =
        (sum * share + (std::uint64_t{1} << (kShareBits - 1))) >> kShareBits;
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(value, 255));
}

// One row resampled along x, with the channel count fixed so the inner
// loops unroll.
template <int C>
void resampleRow(const std::uint8_t* in, int inWidth, std::uint8_t* to, int width,
                 const std::vector<Span>& plan) {
    const bool growing = width > inWidth;
    for (int x = 0; x < width; ++x, to += C) {
        const Span& s = plan[static_cast<std::size_t>(x)];
        const std::uint8_t* p = in + static_cast<std::size_t>(s.first) * C;
        if (growing) {
            const std::uint8_t* q = inWidth > 1 ? p + C : p;
            for (int k = 0; k < C; ++k)
                to[k] = static_cast<std::uint8_t>(
                    (p[k] * (256 - s.weight) + q[k] * s.weight + 128) >> 8);
            continue;
        }
        unsigned sum[C] = {};
        for (int j = 0; j < s.count; ++j, p += C)
            for (int k = 0; k < C; ++k) sum[k] += p[k];
        const std::uint64_t share = shareOf(s.count);
        for (int k = 0; k < C; ++k) to[k] = averaged(sum[k], share);
    }
}

// One axis of the resampling: rows stay, each row's samples are resampled.
Bitmap resampleRows(const Bitmap& source, int width) {
    Bitmap out;
    if (!out.allocate(width, source.height, source.channels)) return out;
    const std::vector<Span> plan = spans(source.width, width);
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.row(y);
        std::uint8_t* to = out.row(y);
        switch (source.channels) {
            case 1:
                resampleRow<1>(in, source.width, to, width, plan);
                break;
            case 3:
                resampleRow<3>(in, source.width, to, width, plan);
                break;
            default:
                resampleRow<4>(in, source.width, to, width, plan);
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
        const std::uint64_t share = shareOf(s.count);
        for (std::size_t i = 0; i < n; ++i) to[i] = averaged(sum[i], share);
    }
    return out;
}

}  // namespace

void askForHugePages([[maybe_unused]] void* block, [[maybe_unused]] std::size_t size) {
#ifdef __linux__
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (!block || size < 4 * kHuge) return;
    const auto from = (reinterpret_cast<std::uintptr_t>(block) + kHuge - 1) & ~(kHuge - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(kHuge - 1);
    if (to > from) ::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

bool Bitmap::allocate(int w, int h, int c) {
    width = height = channels = 0;
    pixels.clear();
    if (w <= 0 || h <= 0 || (c != 1 && c != 3 && c != 4)) return false;
    const auto total = static_cast<unsigned long long>(w) * static_cast<unsigned long long>(h) * c;
    if (total > kMaxBytes) return false;
    const auto bytes = static_cast<std::size_t>(total);
    try {
        if (pixels.capacity() < bytes) {
            std::vector<std::uint8_t>().swap(pixels);
            pixels.reserve(bytes);
            // The block is reserved and not yet touched; data() names it.
            askForHugePages(pixels.data(), bytes);
        }
        pixels.assign(bytes, 0);
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
    // Fewer rows first when there will be fewer: summing whole rows runs
    // over contiguous bytes, and the pass along the rows then has less to do.
    if (height <= source.height) {
        const Bitmap columns = height == source.height ? source : resampleColumns(source, height);
        if (columns.isNull()) return {};
        return width == columns.width ? columns : resampleRows(columns, width);
    }
    const Bitmap rows = width == source.width ? source : resampleRows(source, width);
    if (rows.isNull()) return {};
    return resampleColumns(rows, height);
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
