#include <gtest/gtest.h>

#include <cstdio>

#include <jpeglib.h>

#include <array>
#include <limits>
#include <tuple>

#include "formats/ImageCodecs.h"
#include "formats/ImageSamples.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

using test::gradientBitmap;
using test::largestDifference;

// --- Little-endian builders for hand-made bitmaps and icons ------------------------

void put16(std::string& s, unsigned v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

// A BITMAPINFOHEADER (40 bytes).
std::string infoHeader(std::int32_t width, std::int32_t height, int bpp, std::uint32_t compression,
                       std::uint32_t colours = 0) {
    std::string s;
    put32(s, 40);
    put32(s, static_cast<std::uint32_t>(width));
    put32(s, static_cast<std::uint32_t>(height));
    put16(s, 1);
    put16(s, bpp);
    put32(s, compression);
    put32(s, 0);
    put32(s, 0);
    put32(s, 0);
    put32(s, colours);
    put32(s, 0);
    return s;
}

// A whole file: header, then `body` (header, masks, palette), then pixels.
std::string bmpFile(const std::string& body, const std::string& pixels) {
    std::string s = "BM";
    put32(s, static_cast<std::uint32_t>(14 + body.size() + pixels.size()));
    put32(s, 0);
    put32(s, static_cast<std::uint32_t>(14 + body.size()));
    return s + body + pixels;
}

std::string paletteOf(std::initializer_list<std::uint32_t> rgbs) {
    std::string s;
    for (std::uint32_t rgb : rgbs) put32(s, rgb);  // stored B, G, R, 0
    return s;
}

std::array<int, 4> pixelAt(const Bitmap& b, int x, int y) {
    const std::uint8_t* p = b.row(y) + x * b.channels;
    return {p[0], b.channels > 1 ? p[1] : p[0], b.channels > 2 ? p[2] : p[0],
            b.channels == 4 ? p[3] : 255};
}

// --- JPEG ------------------------------------------------------------------------

TEST(Jpeg, RoundTripsAndTheSystemDecoderAgrees) {
    test::TempFolder dir;
    const Bitmap source = gradientBitmap(64, 48, 3);
    const EncodedImage colour = encodeJpeg(source, {95, false});
    ASSERT_TRUE(colour.ok()) << colour.error;
    const DecodedImage back = decodeJpeg(colour.bytes);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.bitmap.width, 64);
    EXPECT_EQ(back.bitmap.height, 48);
    EXPECT_EQ(back.bitmap.channels, 3);
    EXPECT_LT(largestDifference(back.bitmap, source), 24);

    // Grayscale output has one component: djpeg writes it as PGM.
    const EncodedImage mono = encodeJpeg(source, {20, true});
    ASSERT_TRUE(mono.ok());
    EXPECT_LT(mono.bytes.size(), colour.bytes.size());
    EXPECT_EQ(decodeJpeg(mono.bytes).bitmap.channels, 1);
    test::writeBytes(dir.path("mono.jpg"), mono.bytes);
    test::writeBytes(dir.path("colour.jpg"), colour.bytes);
    int status = 0;
    EXPECT_EQ(test::runCommand("djpeg -pnm " + dir.path("mono.jpg"), status).substr(0, 9),
              "P5\n64 48\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::runCommand("djpeg -pnm " + dir.path("colour.jpg"), status).substr(0, 9),
              "P6\n64 48\n");

    // Transparency is laid over white: a fully transparent picture comes out white.
    Bitmap clear = gradientBitmap(8, 8, 4);
    for (std::size_t i = 3; i < clear.pixels.size(); i += 4) clear.pixels[i] = 0;
    const DecodedImage white = decodeJpeg(encodeJpeg(clear, {90, false}).bytes);
    EXPECT_GE(pixelAt(white.bitmap, 3, 3)[0], 250);
}

TEST(Jpeg, APictureLargerThanItsFirstRoomIsWrittenByteForByteAsCjpegWritesIt) {
    // Noise at full quality takes about two thirds of a byte a sample, more
    // than the writer reserves at first and several times the room it offers
    // libjpeg at a time.
    Bitmap noise;
    ASSERT_TRUE(noise.allocate(96, 64, 3));
    std::uint32_t seed = 7;
    for (std::uint8_t& sample : noise.pixels) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<std::uint8_t>(seed >> 24);
    }
    const EncodedImage written = encodeJpeg(noise, {100, false});
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_GT(written.bytes.size(), noise.pixels.size() / 2);
    test::TempFolder dir;
    std::string ppm = "P6\n96 64\n255\n";
    ppm.append(noise.pixels.begin(), noise.pixels.end());
    test::writeBytes(dir.path("noise.ppm"), ppm);
    int status = 0;
    const std::string peer =
        test::runCommand("cjpeg -quality 100 " + dir.path("noise.ppm"), status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(written.bytes == peer) << written.bytes.size() << " bytes, cjpeg " << peer.size();
}

TEST(Jpeg, DecodedForAWindowAtTheSmallestScaleThatCoversIt) {
    const std::string bytes = encodeJpeg(gradientBitmap(800, 600, 3)).bytes;
    const DecodedImage quarter = decodeJpegToFit(bytes, 200, 200);
    ASSERT_TRUE(quarter.ok());
    EXPECT_EQ(quarter.bitmap.width, 200);  // fitted: 200 x 150, a quarter covers it
    EXPECT_EQ(quarter.bitmap.height, 150);
    EXPECT_EQ(quarter.wholeWidth, 800);
    EXPECT_EQ(decodeJpegToFit(bytes, 201, 200).bitmap.width, 400);
    EXPECT_EQ(decodeJpegToFit(bytes, 5000, 5000).bitmap.width, 800);
    EXPECT_FALSE(decodeJpegToFit(bytes.substr(0, bytes.size() - 100), 100, 100).ok());
}

TEST(Jpeg, CutOffDamagedAndForeignDataGiveNoPicture) {
    const std::string bytes = encodeJpeg(gradientBitmap(64, 64, 3)).bytes;
    for (const std::string& broken :
         {bytes.substr(0, bytes.size() / 2), bytes.substr(0, 2),
          std::string("\xFF\xD8\xFF\xE0junk"), std::string("not a jpeg at all"), std::string()}) {
        const DecodedImage image = decodeJpeg(broken);
        EXPECT_FALSE(image.ok());
        EXPECT_TRUE(image.bitmap.isNull());
        EXPECT_FALSE(image.error.empty());
    }
    EXPECT_NE(decodeJpeg(bytes.substr(0, bytes.size() / 2)).error.find("Premature end"),
              std::string::npos);
}

TEST(Jpeg, LimitsAreKeptBeforeAnythingIsAllocated) {
    // A real file whose frame header claims 60000 x 60000 pixels.
    std::string bytes = encodeJpeg(gradientBitmap(16, 16, 3)).bytes;
    const std::size_t sof = bytes.find("\xFF\xC0");
    ASSERT_NE(sof, std::string::npos);
    bytes[sof + 5] = char(0xEA), bytes[sof + 6] = char(0x60);  // height
    bytes[sof + 7] = char(0xEA), bytes[sof + 8] = char(0x60);  // width
    const DecodedImage huge = decodeJpeg(bytes);
    EXPECT_FALSE(huge.ok());
    EXPECT_NE(huge.error.find("too large: 60000 x 60000"), std::string::npos);

    // A progressive file has several scans; a limit below their number refuses it.
    test::TempFolder dir;
    test::writeBytes(dir.path("a.ppm"), "P6\n32 32\n255\n" + std::string(32 * 32 * 3, '\x50'));
    int status = 0;
    const std::string progressive =
        test::runCommand("cjpeg -progressive " + dir.path("a.ppm"), status);
    ASSERT_EQ(status, 0);
    EXPECT_TRUE(decodeJpeg(progressive).ok());
    ImageLimits few;
    few.maxScans = 2;
    EXPECT_NE(decodeJpeg(progressive, few).error.find("more than 2 scans"), std::string::npos);
}

// CMYK pictures (as print workflows save them) come out as RGB; Adobe's are
// stored inverted.
TEST(Jpeg, CmykIsShownAsRgb) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = 8, info.image_height = 8, info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    // Full cyan, no black: stored inverted (Adobe) as 0, 255, 255, 255.
    std::vector<unsigned char> row(8 * 4);
    for (int x = 0; x < 8; ++x)
        row[x * 4] = 0, row[x * 4 + 1] = row[x * 4 + 2] = row[x * 4 + 3] = 255;
    while (info.next_scanline < 8) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const std::string bytes(reinterpret_cast<char*>(out), size);
    std::free(out);
    const DecodedImage image = decodeJpeg(bytes);
    ASSERT_TRUE(image.ok()) << image.error;
    ASSERT_EQ(image.bitmap.channels, 3);
    const auto p = pixelAt(image.bitmap, 4, 4);
    EXPECT_LT(p[0], 8);    // cyan: no red
    EXPECT_GT(p[1], 247);  // full green and blue
    EXPECT_GT(p[2], 247);
}

// --- PNG -------------------------------------------------------------------------

TEST(Png, EveryColourTypeComesOutAsEightBitSamples) {
    const Bitmap rgba = gradientBitmap(33, 17, 4);
    for (bool interlaced : {false, true}) {
        const DecodedImage image = decodePng(test::pngOf(rgba, interlaced));
        ASSERT_TRUE(image.ok()) << image.error;
        EXPECT_EQ(image.bitmap.channels, 4);
        EXPECT_EQ(image.bitmap.pixels, rgba.pixels);
    }
    const Bitmap gray = gradientBitmap(9, 4, 1);
    EXPECT_EQ(decodePng(test::pngOf(gray)).bitmap.pixels, gray.pixels);

    // A two-colour palette with the first colour transparent, four pixels in one byte.
    test::PngSpec palette;
    palette.width = 4, palette.height = 1, palette.bitDepth = 1;
    palette.colorType = PNG_COLOR_TYPE_PALETTE;
    palette.palette = {{10, 20, 30}, {200, 100, 50}};
    palette.transparency = {0};
    palette.rows = {{0b01100000}};
    const DecodedImage indexed = decodePng(test::writePng(palette));
    ASSERT_TRUE(indexed.ok()) << indexed.error;
    EXPECT_EQ(pixelAt(indexed.bitmap, 0, 0), (std::array<int, 4>{10, 20, 30, 0}));
    EXPECT_EQ(pixelAt(indexed.bitmap, 1, 0), (std::array<int, 4>{200, 100, 50, 255}));

    // Sixteen bits per sample keep their high byte.
    test::PngSpec deep;
    deep.width = 1, deep.height = 1, deep.bitDepth = 16;
    deep.rows = {{0x12, 0x34, 0xAB, 0xCD, 0xFF, 0x00}};
    EXPECT_EQ(pixelAt(decodePng(test::writePng(deep)).bitmap, 0, 0),
              (std::array<int, 4>{0x12, 0xAB, 0xFF, 255}));
}

TEST(Png, HostileFilesAreRefusedAsTheReferenceCheckerRefusesThem) {
    test::TempFolder dir;
    const std::string good = test::pngOf(gradientBitmap(40, 40, 3));
    std::string badCrc = good;
    badCrc[29] ^= 0x01;  // IHDR's CRC
    std::string wide = good;
    // IHDR claims 70000 x 70000 (its CRC no longer matches either).
    for (int i : {16, 20})
        wide[i] = 0, wide[i + 1] = 1, wide[i + 2] = char(0x11), wide[i + 3] = 0x70;
    int status = 0;
    test::writeBytes(dir.path("good.png"), good);
    test::runCommand("pngcheck -q " + dir.path("good.png"), status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(decodePng(good).ok());
    for (const std::string& bad : {good.substr(0, good.size() / 2), badCrc, wide}) {
        test::writeBytes(dir.path("bad.png"), bad);
        test::runCommand("pngcheck -q " + dir.path("bad.png") + " >/dev/null", status);
        EXPECT_NE(status, 0);
        const DecodedImage image = decodePng(bad);
        EXPECT_FALSE(image.ok());
        EXPECT_TRUE(image.bitmap.isNull());
        EXPECT_EQ(image.error.rfind("Not a readable PNG picture: ", 0), 0u) << image.error;
    }
    // Within libpng's own checks, our limits refuse large pictures before reading them.
    ImageLimits small;
    small.maxPixels = 100;
    EXPECT_NE(decodePng(good, small).error.find("too large: 40 x 40"), std::string::npos);
    EXPECT_EQ(decodePng("GIF89a").error, "Not a PNG picture");
}

// --- BMP -------------------------------------------------------------------------

TEST(Bmp, WrittenFilesAreClassicBottomUpBitmapsThatReadBack) {
    const Bitmap source = gradientBitmap(5, 3, 3);
    const EncodedImage file = encodeBmp(source);
    ASSERT_TRUE(file.ok());
    const std::string& b = file.bytes;
    const std::size_t rowSize = 16;  // 5 * 3 bytes padded to a multiple of 4
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(b.size(), 54 + rowSize * 3);
    EXPECT_EQ(static_cast<unsigned char>(b[10]), 54);
    EXPECT_EQ(static_cast<unsigned char>(b[28]), 24);
    // The first row stored is the bottom one, blue first.
    const std::uint8_t* bottomLeft = source.row(2);
    EXPECT_EQ(static_cast<unsigned char>(b[54]), bottomLeft[2]);
    EXPECT_EQ(static_cast<unsigned char>(b[56]), bottomLeft[0]);
    const DecodedImage back = decodeBmp(b);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.bitmap.pixels, source.pixels);
}

TEST(Bmp, PalettesPackedPixelsAndTopDownRows) {
    // 1 bit per pixel, top-down (negative height), two rows of 3 pixels.
    const std::string mono = bmpFile(infoHeader(3, -2, 1, 0) + paletteOf({0x000000, 0xFFFFFF}),
                                     std::string("\xA0\0\0\0\x40\0\0\0", 8));
    const DecodedImage image = decodeBmp(mono);
    ASSERT_TRUE(image.ok()) << image.error;
    EXPECT_EQ(pixelAt(image.bitmap, 0, 0)[0], 255);
    EXPECT_EQ(pixelAt(image.bitmap, 1, 0)[0], 0);
    EXPECT_EQ(pixelAt(image.bitmap, 2, 0)[0], 255);
    EXPECT_EQ(pixelAt(image.bitmap, 1, 1)[0], 255);

    // 16-bit 5-6-5 through colour masks after the header.
    std::string masks;
    put32(masks, 0xF800), put32(masks, 0x07E0), put32(masks, 0x001F);
    std::string pixel;
    put16(pixel, 0xF800 | 0x001F);  // red and blue full
    pixel += std::string(2, '\0');
    EXPECT_EQ(pixelAt(decodeBmp(bmpFile(infoHeader(1, 1, 16, 3) + masks, pixel)).bitmap, 0, 0),
              (std::array<int, 4>{255, 0, 255, 255}));

    // 32 bits with the fourth byte unused: opaque colours.
    const DecodedImage wide =
        decodeBmp(bmpFile(infoHeader(1, 1, 32, 0), std::string("\x10\x20\x30\x00", 4)));
    EXPECT_EQ(wide.bitmap.channels, 3);
    EXPECT_EQ(pixelAt(wide.bitmap, 0, 0), (std::array<int, 4>{0x30, 0x20, 0x10, 255}));
}

TEST(Bmp, RunLengthCompressedRows) {
    // 8 bits: a run of three index-1 pixels, end of line, a delta, absolute
    // pixels 2 1 2 (padded to a word), end of bitmap. Skipped pixels keep index 0.
    const std::string runs("\x03\x01\x00\x00\x00\x02\x01\x00\x00\x03\x02\x01\x02\x00\x00\x01", 16);
    const DecodedImage image = decodeBmp(
        bmpFile(infoHeader(4, 2, 8, 1) + paletteOf({0x000000, 0xFF0000, 0x00FF00}), runs));
    ASSERT_TRUE(image.ok()) << image.error;
    // The bottom row (stored first): 1 1 1 0.
    EXPECT_EQ(pixelAt(image.bitmap, 0, 1)[0], 255);
    EXPECT_EQ(pixelAt(image.bitmap, 3, 1)[0], 0);
    // The top row: the delta moved one to the right (and stayed on the row).
    EXPECT_EQ(pixelAt(image.bitmap, 0, 0)[1], 0);
    EXPECT_EQ(pixelAt(image.bitmap, 1, 0)[1], 255);
    EXPECT_EQ(pixelAt(image.bitmap, 2, 0)[0], 255);

    // 4 bits: a run alternates its two indices.
    const DecodedImage four =
        decodeBmp(bmpFile(infoHeader(3, 1, 4, 2) + paletteOf({0x000000, 0x0000FF}),
                          std::string("\x03\x10\x00\x01", 4)));
    ASSERT_TRUE(four.ok()) << four.error;
    EXPECT_EQ(pixelAt(four.bitmap, 0, 0)[2], 255);
    EXPECT_EQ(pixelAt(four.bitmap, 1, 0)[2], 0);
    EXPECT_EQ(pixelAt(four.bitmap, 2, 0)[2], 255);
}

// A header of `size` bytes starting with a BITMAPINFOHEADER, the rest `tail`.
std::string grownHeader(std::string header, std::uint8_t size, const std::string& tail) {
    header[0] = static_cast<char>(size);
    return header + tail + std::string(size - 40 - tail.size(), '\0');
}

TEST(Bmp, ColourMasksInsideLongerHeaders) {
    std::string masks;
    put32(masks, 0xF800), put32(masks, 0x07E0), put32(masks, 0x001F), put32(masks, 0);
    std::string pixel;
    put16(pixel, 0x07E0);  // green full
    pixel += std::string(2, '\0');
    const DecodedImage v3 =
        decodeBmp(bmpFile(grownHeader(infoHeader(1, 1, 16, 3), 56, masks), pixel));
    ASSERT_TRUE(v3.ok()) << v3.error;
    EXPECT_EQ(pixelAt(v3.bitmap, 0, 0), (std::array<int, 4>{0, 255, 0, 255}));
}

TEST(Bmp, HostileHeadersAreRefused) {
    const std::string palette = paletteOf({0, 0xFFFFFF});
    const std::string cases[] = {
        bmpFile(infoHeader(4, 4, 24, 0), std::string(10, '\0')),  // rows cut off
        bmpFile(infoHeader(4, std::numeric_limits<std::int32_t>::min(), 24, 0), ""),
        bmpFile(infoHeader(0x7FFFFFFF, 0x7FFFFFFF, 24, 0), ""),  // too large
        bmpFile(infoHeader(-4, 4, 24, 0), std::string(64, '\0')),
        bmpFile(infoHeader(4, 4, 7, 0), std::string(64, '\0')),            // no such depth
        bmpFile(infoHeader(4, 4, 8, 4), std::string(64, '\0')),            // embedded JPEG
        bmpFile(infoHeader(4, -4, 8, 1) + palette, std::string(8, '\0')),  // top-down runs
        bmpFile(std::string("\x08\0\0\0", 4), ""),                         // header too short
        // Too short to hold its masks, and nothing after it.
        bmpFile(grownHeader(infoHeader(1, 1, 16, 3), 44, ""), ""),
        std::string("BM") + std::string(10, '\0'),
    };
    for (const std::string& bytes : cases) {
        const DecodedImage image = decodeBmp(bytes);
        EXPECT_FALSE(image.ok());
        EXPECT_TRUE(image.bitmap.isNull());
        EXPECT_FALSE(image.error.empty());
    }
    // A data offset past the end reads the rows after the palette instead.
    std::string pointsAway = bmpFile(infoHeader(1, 1, 24, 0), std::string("\x01\x02\x03\x00", 4));
    pointsAway[10] = char(0xFF), pointsAway[11] = char(0xFF);
    EXPECT_EQ(pixelAt(decodeBmp(pointsAway).bitmap, 0, 0), (std::array<int, 4>{3, 2, 1, 255}));
}

// --- ICO -------------------------------------------------------------------------

// An icon file holding the given entries (width, bits per pixel, data).
std::string icoFile(const std::vector<std::tuple<int, int, std::string>>& entries) {
    std::string s;
    put16(s, 0), put16(s, 1), put16(s, static_cast<unsigned>(entries.size()));
    std::size_t offset = 6 + 16 * entries.size();
    std::string data;
    for (const auto& [width, bpp, bytes] : entries) {
        s.push_back(char(width)), s.push_back(char(width)), s.push_back(0), s.push_back(0);
        put16(s, 1), put16(s, bpp);
        put32(s, static_cast<std::uint32_t>(bytes.size()));
        put32(s, static_cast<std::uint32_t>(offset + data.size()));
        data += bytes;
    }
    return s + data;
}

TEST(Ico, TheLargestPictureWithItsMaskOrItsPng) {
    // 2 x 2, 8 bits with a palette; the mask makes the top-left pixel transparent.
    const std::string small =
        infoHeader(2, 4, 8, 0, 2) + paletteOf({0x0000FF, 0xFF0000}) +
        std::string("\x00\x00\0\0\x00\x01\0\0", 8) +  // colours, bottom row first
        std::string("\x00\0\0\0\x80\0\0\0", 8);       // mask, bottom row first
    // 1 x 1, 32 bits with alpha: smaller, so not chosen while the 2 x 2 one reads.
    const std::string tiny =
        infoHeader(1, 2, 32, 0) + std::string("\x00\x00\xFF\x80", 4) + std::string(4, '\0');
    const DecodedImage icon = decodeIco(icoFile({{1, 32, tiny}, {2, 8, small}}));
    ASSERT_TRUE(icon.ok()) << icon.error;
    ASSERT_EQ(icon.bitmap.width, 2);
    EXPECT_EQ(icon.bitmap.channels, 4);
    EXPECT_EQ(pixelAt(icon.bitmap, 0, 0)[3], 0);
    EXPECT_EQ(pixelAt(icon.bitmap, 1, 0), (std::array<int, 4>{255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(icon.bitmap, 0, 1), (std::array<int, 4>{0, 0, 255, 255}));

    // Alpha in a 32-bit entry wins over its mask.
    const DecodedImage alpha = decodeIco(icoFile({{1, 32, tiny}}));
    EXPECT_EQ(pixelAt(alpha.bitmap, 0, 0), (std::array<int, 4>{255, 0, 0, 0x80}));

    // An entry may be a whole PNG file; when the best entry is broken the next is used.
    const Bitmap picture = gradientBitmap(3, 3, 4);
    const DecodedImage png = decodeIco(icoFile({{3, 32, test::pngOf(picture)}}));
    EXPECT_EQ(png.bitmap.pixels, picture.pixels);
    EXPECT_TRUE(decodeIco(icoFile({{200, 32, std::string("\x89PNG broken")}, {1, 32, tiny}})).ok());
}

TEST(Ico, HostileDirectoriesAreRefused) {
    std::string pointsOut = icoFile({{1, 32, std::string(16, '\0')}});
    pointsOut[18] = char(0xFF);  // the entry's offset far past the end
    for (const std::string& bytes :
         {pointsOut, icoFile({}), std::string("\0\0\1\0", 4), std::string("\0\0\3\0\1\0", 6),
          icoFile({{4, 8, infoHeader(4, 8, 8, 0)}})}) {
        const DecodedImage image = decodeIco(bytes);
        EXPECT_FALSE(image.ok());
        EXPECT_FALSE(image.error.empty());
    }
}

TEST(ImageFormats, NamesAndSignatures) {
    EXPECT_EQ(imageFormatOfType("\"image/jpeg\""), ImageFormat::Jpeg);
    EXPECT_EQ(imageFormatOfType("image/ico"), ImageFormat::Ico);
    EXPECT_EQ(imageFormatOfType("\"image/gif\""), ImageFormat::Unknown);
    EXPECT_EQ(imageFormatOfType("\"image/x-icon\""), ImageFormat::Unknown);
    EXPECT_EQ(sniffImageFormat(encodeJpeg(gradientBitmap(2, 2, 3)).bytes), ImageFormat::Jpeg);
    EXPECT_EQ(sniffImageFormat(encodeBmp(gradientBitmap(2, 2, 3)).bytes), ImageFormat::Bmp);
    EXPECT_EQ(decodeImage("x", ImageFormat::Unknown).error,
              "Not a picture format this program reads");
}

}  // namespace
}  // namespace zel
