#include <gtest/gtest.h>

#include "formats/ImageConversion.h"
#include "formats/ImageSamples.h"

namespace zel {
namespace {

TEST(ImageConversion, NamesFollowTheOldFilename) {
    EXPECT_EQ(convertedFileName("img/a.png", ".jpg", "20240131120000"), "img/a.jpg");
    EXPECT_EQ(convertedFileName(".\\img\\a", ".bmp", "20240131120000"), "./img/a.bmp");
    EXPECT_EQ(convertedFileName("", ".jpg", "20240131120000"), "20240131120000.jpg");

    // Named like its Filename: the new file name.
    EXPECT_EQ(convertedNodeName("a.png", "a.png", "a.jpg", ".jpg"), "a.jpg");
    EXPECT_EQ(convertedNodeName("img/a.png", "img/a.png", "img/a.jpg", ".jpg"), "img/a.jpg");
    // The Filename is the name's file-name part: the new one's file-name part.
    EXPECT_EQ(convertedNodeName("c:\\pics\\a.png", "a.png", "a.jpg", ".jpg"), "a.jpg");
    // A name with an extension of its own takes the new one.
    EXPECT_EQ(convertedNodeName("holiday.png", "img/a.png", "img/a.jpg", ".jpg"), "holiday.jpg");
    // Otherwise the node keeps its name.
    EXPECT_EQ(convertedNodeName("picture", "img/a.png", "img/a.bmp", ".bmp"), "");
    EXPECT_EQ(convertedNodeName("picture", "", "20240131120000.bmp", ".bmp"), "");
}

TEST(ImageConversion, ContentIsDecodedByItsTypeAndWrittenAsTheTarget) {
    const Bitmap picture = test::gradientBitmap(12, 10, 4);
    const std::string png = test::pngOf(picture);

    const ImageConversion jpeg =
        convertContent(png, "\"image/png\"", ImageTarget::Jpeg, {20, true});
    ASSERT_TRUE(jpeg.ok()) << jpeg.error;
    EXPECT_EQ(jpeg.contentType, "image/jpeg");
    EXPECT_EQ(jpeg.extension, ".jpg");
    const DecodedImage back = decodeJpeg(jpeg.bytes);
    EXPECT_EQ(back.bitmap.channels, 1);
    EXPECT_EQ(back.bitmap.width, 12);

    const ImageConversion bmp = convertContent(png, "\"image/png\"", ImageTarget::Bmp);
    ASSERT_TRUE(bmp.ok());
    EXPECT_EQ(bmp.contentType, "image/bmp");
    EXPECT_EQ(decodeBmp(bmp.bytes).bitmap.pixels, flattenedOnWhite(picture).pixels);

    EXPECT_EQ(convertContent(png, "\"image/tiff\"", ImageTarget::Jpeg).error,
              "not understand image format \"image/tiff\"");
    EXPECT_EQ(convertContent(png, "\"image/tiff\"", ImageTarget::Bmp).error,
              "not understand image format");
    // Bytes that do not decode as their type convert to nothing.
    const ImageConversion wrong = convertContent(png, "\"image/jpeg\"", ImageTarget::Bmp);
    EXPECT_FALSE(wrong.ok());
    EXPECT_TRUE(wrong.bytes.empty());
}

TEST(Bitmap, ScalingAveragesShrinksAndInterpolatesGrowth) {
    Bitmap four;
    four.allocate(2, 2, 1);
    four.pixels = {0, 100, 200, 60};
    const Bitmap one = scaledBitmap(four, 1, 1);
    ASSERT_EQ(one.pixels.size(), 1u);
    EXPECT_EQ(one.pixels[0], 90);

    // Growing a flat picture keeps it flat, in both directions at once or one.
    Bitmap flat;
    flat.allocate(3, 2, 3);
    std::fill(flat.pixels.begin(), flat.pixels.end(), 77);
    for (auto [w, h] : {std::pair{7, 5}, std::pair{7, 1}, std::pair{1, 9}}) {
        const Bitmap grown = scaledBitmap(flat, w, h);
        ASSERT_EQ(grown.width, w);
        ASSERT_EQ(grown.height, h);
        EXPECT_TRUE(std::all_of(grown.pixels.begin(), grown.pixels.end(),
                                [](std::uint8_t v) { return v == 77; }));
    }
    // A gradient stays ordered when shrunk by an uneven factor.
    const Bitmap shrunk = scaledBitmap(test::gradientBitmap(100, 3, 3), 7, 3);
    for (int x = 1; x < 7; ++x) EXPECT_LT(shrunk.row(0)[(x - 1) * 3], shrunk.row(0)[x * 3]);
    EXPECT_TRUE(scaledBitmap(flat, 0, 5).isNull());
    EXPECT_TRUE(scaledBitmap(Bitmap{}, 5, 5).isNull());
}

TEST(Bitmap, FittingKeepsProportionsAndFlatteningUsesWhite) {
    int w = 0, h = 0;
    fitInside(4000, 3000, 800, 800, w, h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    fitInside(100, 1000, 800, 500, w, h);
    EXPECT_EQ(w, 50);
    EXPECT_EQ(h, 500);
    fitInside(0, 10, 800, 500, w, h);  // nothing to divide by
    EXPECT_EQ(w, 800);

    Bitmap rgba;
    rgba.allocate(2, 1, 4);
    rgba.pixels = {0, 0, 0, 0, 10, 20, 30, 255};
    EXPECT_EQ(flattenedOnWhite(rgba).pixels,
              (std::vector<std::uint8_t>{255, 255, 255, 10, 20, 30}));
    EXPECT_FALSE(Bitmap{}.allocate(1 << 30, 1 << 30, 4));
}

TEST(Bitmap, ASizeNoPictureCouldNeedIsRefusedBeforeTheHeapIsAsked) {
    // 4.8 GB: within what the heap might give, past what any reader allows.
    Bitmap huge;
    huge.allocate(2, 2, 3);
    EXPECT_FALSE(huge.allocate(40000, 30000, 4));
    EXPECT_TRUE(huge.isNull());
    EXPECT_EQ(huge.channels, 0);
    EXPECT_TRUE(huge.allocate(1, 1, 4));
    EXPECT_EQ(huge.pixels.size(), 4u);
}

}  // namespace
}  // namespace zel
