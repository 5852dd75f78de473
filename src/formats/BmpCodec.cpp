// Windows bitmaps and icons. Both carry a device-independent bitmap (a header,
// masks, a palette and rows of pixels, bottom row first unless the height is
// negative); an icon's bitmap has twice its height, the colours followed by a
// one-bit transparency mask, or it is a whole PNG file. Every offset and
// length is checked against the bytes before it is used.

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

#include "formats/ImageCodecs.h"

namespace zel {

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
constexpr std::size_t kFileHeader = 14, kInfoHeader = 40;

struct Bytes {
    std::string_view data;

    bool has(std::size_t at, std::size_t count) const {
        return at <= data.size() && count <= data.size() - at;
    }
    std::uint8_t u8(std::size_t at) const { return static_cast<std::uint8_t>(data[at]); }
    std::uint16_t u16(std::size_t at) const {
        return static_cast<std::uint16_t>(u8(at) | (u8(at + 1) << 8));
    }
    std::uint32_t u32(std::size_t at) const {
        return u16(at) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
};

// One colour channel of a packed pixel: where its bits are and how many.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    explicit Channel(std::uint32_t m = 0) : mask(m) {
        if (!m) return;
        shift = std::countr_zero(m);
        bits = std::popcount(m >> shift);
    }
    std::uint8_t of(std::uint32_t pixel, std::uint8_t absent) const {
        if (!bits) return absent;
        const std::uint32_t v = (pixel & mask) >> shift;
        if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
        return static_cast<std::uint8_t>(v * 255u / ((1u << bits) - 1u));
    }
};

struct Dib {
    int width = 0;
    int height = 0;  // of the colour picture (half an icon bitmap's)
    bool topDown = false;
    int bpp = 0;
    std::uint32_t compression = kRgb;
    Channel red, green, blue, alpha;
    std::vector<std::array<std::uint8_t, 3>> palette;
    std::size_t pixelsAt = 0;
};

std::string bad(const char* what, const char* why) {
    return std::string("Not a readable ") + what + ": " + why;
}

// Reads the header, masks and palette of the bitmap at `at`; `pixelsAt` is
// where the file header says the rows begin (none: right after the palette).
std::string readLayout(const Bytes& in, std::size_t at, std::optional<std::size_t> pixelsAt,
                       bool icon, const ImageLimits& limits, Dib& dib) {
    const char* what = icon ? "icon" : "bitmap";
    if (!in.has(at, 4)) return bad(what, "no header");
    const std::uint32_t size = in.u32(at);
    const bool core = size == 12;
    if ((!core && size < kInfoHeader) || !in.has(at, size)) return bad(what, "bad header size");
    std::int64_t height;
    if (core) {
        dib.width = in.u16(at + 4);
        height = in.u16(at + 6);
        dib.bpp = in.u16(at + 10);
    } else {
        dib.width = in.i32(at + 4);
        height = in.i32(at + 8);
        dib.bpp = in.u16(at + 14);
        dib.compression = in.u32(at + 16);
    }
    dib.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (icon) height /= 2;
    if (dib.width <= 0 || height <= 0) return bad(what, "no pixels");
    if (static_cast<std::uint64_t>(dib.width) > limits.maxSide ||
        static_cast<std::uint64_t>(height) > limits.maxSide ||
        static_cast<std::uint64_t>(dib.width) * static_cast<std::uint64_t>(height) >
            limits.maxPixels)
        return std::string("The ") + what + " is too large: " + std::to_string(dib.width) + " x " +
               std::to_string(height);
    dib.height = static_cast<int>(height);

    const std::uint32_t c = dib.compression;
    const int b = dib.bpp;
    const bool fields = c == kBitFields || c == kAlphaBitFields;
    if (!((c == kRgb && (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) ||
          (c == kRle8 && b == 8) || (c == kRle4 && b == 4) || (fields && (b == 16 || b == 32))))
        return bad(what, "unsupported kind of pixels");
    if ((c == kRle8 || c == kRle4) && dib.topDown) return bad(what, "compressed top-down rows");

    std::size_t paletteAt = at + size;
    if (fields) {
        // Newer headers hold the masks; after a shorter one they follow it.
        const std::size_t count = c == kAlphaBitFields || size >= 56 ? 4 : 3;
        const bool inside = size >= kInfoHeader + 4 * count;
        const std::size_t masksAt = inside ? at + kInfoHeader : at + size;
        if (!in.has(masksAt, 4 * count)) return bad(what, "no colour masks");
        if (!inside) paletteAt += 4 * count;
        dib.red = Channel(in.u32(masksAt));
        dib.green = Channel(in.u32(masksAt + 4));
        dib.blue = Channel(in.u32(masksAt + 8));
        if (count == 4) dib.alpha = Channel(in.u32(masksAt + 12));
    } else if (b == 16) {
        dib.red = Channel(0x7C00), dib.green = Channel(0x03E0), dib.blue = Channel(0x001F);
    } else if (b == 32) {
        dib.red = Channel(0xFF0000), dib.green = Channel(0xFF00), dib.blue = Channel(0xFF);
        // Plain 32-bit bitmaps leave the fourth byte unused; icons keep alpha in it.
        if (icon) dib.alpha = Channel(0xFF000000u);
    }
    if (b <= 8) {
        const std::size_t entry = core ? 3 : 4;
        const std::uint32_t used = core ? 0 : in.u32(at + 32);
        const std::size_t most = std::size_t{1} << b;
        const std::size_t count = used == 0 || used > most ? most : used;
        // A palette cut short keeps the colours it has.
        for (std::size_t i = 0; i < count && in.has(paletteAt + i * entry, entry); ++i) {
            const std::size_t p = paletteAt + i * entry;
            dib.palette.push_back({in.u8(p + 2), in.u8(p + 1), in.u8(p)});
        }
        if (dib.palette.empty()) return bad(what, "no palette");
        paletteAt += count * entry;
    }
    dib.pixelsAt = pixelsAt && *pixelsAt < in.data.size() ? *pixelsAt : paletteAt;
    return {};
}

std::size_t rowBytes(int width, int bpp) {
    return (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
}

// The palette indices of a run-length compressed bitmap, bottom row first.
// Pixels the runs skip keep index 0; data ending early ends the picture.
std::vector<std::uint8_t> expandRuns(const Bytes& in, const Dib& dib) {
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(dib.width) * dib.height, 0);
    const bool four = dib.compression == kRle4;
    std::size_t p = dib.pixelsAt;
    long long x = 0, y = 0;
    auto put = [&](std::uint8_t index) {
        if (x < dib.width && y < dib.height)
            indices[static_cast<std::size_t>(y) * dib.width + static_cast<std::size_t>(x)] = index;
        ++x;
    };
    while (in.has(p, 2) && y < dib.height) {
        const std::uint8_t count = in.u8(p), value = in.u8(p + 1);
        p += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? static_cast<std::uint8_t>(i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0, ++y;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (!in.has(p, 2)) break;
            x += in.u8(p), y += in.u8(p + 1);
            p += 2;
        } else {
            const std::size_t bytes = four ? (value + 1u) / 2 : value;
            if (!in.has(p, bytes)) break;
            for (int i = 0; i < value; ++i) {
                const std::uint8_t byte = in.u8(p + (four ? i / 2 : i));
                put(four ? static_cast<std::uint8_t>(i % 2 ? byte & 0x0F : byte >> 4) : byte);
            }
            p += (bytes + 1) / 2 * 2;
        }
    }
    return indices;
}

DecodedImage readPixels(const Bytes& in, const Dib& dib, bool icon) {
    DecodedImage result;
    const char* what = icon ? "icon" : "bitmap";
    const bool rle = dib.compression == kRle8 || dib.compression == kRle4;
    const std::size_t row = rowBytes(dib.width, dib.bpp);
    if (!rle && !in.has(dib.pixelsAt, row * dib.height)) {
        result.error = bad(what, "the pixel data ends too early");
        return result;
    }
    const bool withAlpha = icon || dib.alpha.bits > 0;
    const int channels = withAlpha ? 4 : 3;
    if (!result.bitmap.allocate(dib.width, dib.height, channels)) {
        result.error = std::string("Not enough memory for the ") + what;
        return result;
    }
    const std::vector<std::uint8_t> runs = rle ? expandRuns(in, dib) : std::vector<std::uint8_t>{};
    const std::uint8_t black[3] = {0, 0, 0};
    bool anyAlpha = false;
    for (int r = 0; r < dib.height; ++r) {
        std::uint8_t* to = result.bitmap.row(dib.topDown ? r : dib.height - 1 - r);
        const std::size_t base = dib.pixelsAt + static_cast<std::size_t>(r) * row;
        for (int x = 0; x < dib.width; ++x, to += channels) {
            std::uint8_t alpha = 255;
            if (dib.bpp <= 8) {
                unsigned index;
                if (rle) {
                    index = runs[static_cast<std::size_t>(r) * dib.width + x];
                } else {
                    const std::size_t bit = static_cast<std::size_t>(x) * dib.bpp;
                    const unsigned byte = in.u8(base + bit / 8);
                    index = (byte >> (8 - dib.bpp - bit % 8)) & ((1u << dib.bpp) - 1u);
                }
                const std::uint8_t* colour =
                    index < dib.palette.size() ? dib.palette[index].data() : black;
                std::memcpy(to, colour, 3);
            } else if (dib.bpp == 24) {
                const std::size_t p = base + static_cast<std::size_t>(x) * 3;
                to[0] = in.u8(p + 2), to[1] = in.u8(p + 1), to[2] = in.u8(p);
            } else {
                const std::uint32_t v = dib.bpp == 16
                                            ? in.u16(base + static_cast<std::size_t>(x) * 2)
                                            : in.u32(base + static_cast<std::size_t>(x) * 4);
                to[0] = dib.red.of(v, 0), to[1] = dib.green.of(v, 0), to[2] = dib.blue.of(v, 0);
                alpha = dib.alpha.of(v, 255);
                anyAlpha = anyAlpha || alpha != 0;
            }
            if (withAlpha) to[3] = alpha;
        }
    }
    // Many writers leave the alpha bytes zero: such a picture is opaque.
    if (withAlpha && dib.alpha.bits > 0 && !anyAlpha)
        for (std::size_t i = 3; i < result.bitmap.pixels.size(); i += 4)
            result.bitmap.pixels[i] = 255;

    if (icon && !(dib.alpha.bits > 0 && anyAlpha)) {
        // The transparency mask after the colours; an icon without one is opaque.
        const std::size_t maskAt = dib.pixelsAt + row * dib.height;
        const std::size_t maskRow = rowBytes(dib.width, 1);
        if (in.has(maskAt, maskRow * dib.height)) {
            for (int r = 0; r < dib.height; ++r) {
                std::uint8_t* to = result.bitmap.row(dib.topDown ? r : dib.height - 1 - r);
                for (int x = 0; x < dib.width; ++x)
                    if ((in.u8(maskAt + r * maskRow + x / 8) >> (7 - x % 8)) & 1) to[x * 4 + 3] = 0;
            }
        }
    }
    return result;
}

DecodedImage readDib(std::string_view data, std::size_t at, std::optional<std::size_t> pixelsAt,
                     bool icon, const ImageLimits& limits) {
    const Bytes in{data};
    Dib dib;
    DecodedImage result;
    result.error = readLayout(in, at, pixelsAt, icon, limits, dib);
    if (!result.error.empty()) return result;
    return readPixels(in, dib, icon);
}

}  // namespace

DecodedImage decodeBmp(std::string_view bytes, const ImageLimits& limits) {
    const Bytes in{bytes};
    if (bytes.empty()) return {{}, "No bitmap data"};
    if (!in.has(0, kFileHeader + 12) || bytes.substr(0, 2) != "BM")
        return {{}, "Not a Windows bitmap"};
    return readDib(bytes, kFileHeader, in.u32(10), false, limits);
}

DecodedImage decodeIco(std::string_view bytes, const ImageLimits& limits) {
    const Bytes in{bytes};
    if (bytes.empty()) return {{}, "No icon data"};
    if (!in.has(0, 6) || in.u16(0) != 0 || (in.u16(2) != 1 && in.u16(2) != 2) || in.u16(4) == 0)
        return {{}, "Not a Windows icon"};
    struct Entry {
        unsigned pixels;
        unsigned bits;
        std::string_view data;
    };
    std::vector<Entry> entries;
    for (unsigned i = 0; i < in.u16(4); ++i) {
        const std::size_t e = 6 + 16 * static_cast<std::size_t>(i);
        if (!in.has(e, 16)) break;
        const unsigned w = in.u8(e) ? in.u8(e) : 256, h = in.u8(e + 1) ? in.u8(e + 1) : 256;
        const std::uint32_t size = in.u32(e + 8), offset = in.u32(e + 12);
        if (!in.has(offset, size) || size == 0) continue;
        entries.push_back({w * h, in.u16(e + 6), bytes.substr(offset, size)});
    }
    if (entries.empty()) return {{}, "Not a readable icon: no picture inside"};
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.pixels != b.pixels ? a.pixels > b.pixels : a.bits > b.bits;
    });
    DecodedImage first;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view data = entries[i].data;
        DecodedImage image = data.substr(0, 4) == "\x89PNG"
                                 ? decodePng(data, limits)
                                 : readDib(data, 0, std::nullopt, true, limits);
        if (image.ok()) return image;
        if (i == 0) first = std::move(image);
    }
    return first;
}

EncodedImage encodeBmp(const Bitmap& source) {
    EncodedImage result;
    const Bitmap flat = flattenedOnWhite(source);
    if (flat.isNull()) {
        result.error = "No picture to write as a bitmap";
        return result;
    }
    const std::size_t row = rowBytes(flat.width, 24);
    const std::uint64_t total =
        kFileHeader + kInfoHeader + static_cast<std::uint64_t>(row) * flat.height;
    if (total > std::numeric_limits<std::uint32_t>::max()) {
        result.error = "The picture is too large for a bitmap file";
        return result;
    }
    std::string& out = result.bytes;
    out.reserve(static_cast<std::size_t>(total));
    auto u16 = [&out](unsigned v) {
        out.push_back(static_cast<char>(v & 0xFF));
        out.push_back(static_cast<char>((v >> 8) & 0xFF));
    };
    auto u32 = [&u16](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    // Pixels per metre: 96 dots per inch.
    constexpr std::uint32_t kResolution = 3780;
    out += "BM";
    u32(static_cast<std::uint32_t>(total));
    u32(0);
    u32(kFileHeader + kInfoHeader);
    u32(kInfoHeader);
    u32(static_cast<std::uint32_t>(flat.width));
    u32(static_cast<std::uint32_t>(flat.height));
    u16(1);
    u16(24);
    u32(kRgb);
    u32(static_cast<std::uint32_t>(row * flat.height));
    u32(kResolution);
    u32(kResolution);
    u32(0);
    u32(0);
    const std::size_t padding = row - static_cast<std::size_t>(flat.width) * 3;
    for (int y = flat.height - 1; y >= 0; --y) {
        const std::uint8_t* in = flat.row(y);
        for (int x = 0; x < flat.width; ++x, in += 3) {
            out.push_back(static_cast<char>(in[2]));
            out.push_back(static_cast<char>(in[1]));
            out.push_back(static_cast<char>(in[0]));
        }
        out.append(padding, '\0');
    }
    return result;
}

}  // namespace zel
