#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>

#include "NodeViewTestSupport.h"
#include "formats/ImageCodecs.h"
#include "formats/ImageSamples.h"
#include "formats/TContent.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "support/TempFolder.h"
#include "views/BitmapQt.h"
#include "views/ImageScale.h"
#include "views/TFrameImage.h"

namespace zel::test {
namespace {

constexpr DateTime kNoon{2024, 1, 31, 12, 0, 0, 0};

class ImageView : public ::testing::Test {
  protected:
    void SetUp() override {
        holder = &main.addHolder({"a.png", "picture", "text"});
        main.view->clock = [] { return kNoon; };
        QApplication::clipboard()->clear();
    }
    // Gives `name` an image body of `type` and shows it.
    MemoNode& imageNode(const std::string& name, const std::string& type, const std::string& bytes,
                        const std::string& fileName = "") {
        MemoNode& node = main.node(name);
        node.putField_("Content-Transfer-Encoding", "\"binary\"");
        node.putField_("Content-Type", "\"" + type + "\"");
        if (!fileName.empty()) node.putField_("Filename", "\"" + fileName + "\"");
        node.content = std::make_unique<TContent>();
        node.content->stream = bytes;
        main.select(node);
        holder->changed = false;
        return node;
    }
    TFrameImage* view() { return main.view->imageView(); }
    std::string body(const MemoNode& node) { return *node.content->stream; }

    FakeMainWindow main;
    MemoHolderUI* holder = nullptr;
    const Bitmap picture = gradientBitmap(40, 30, 4);
};

TEST_F(ImageView, ShowsEachFormatAndNeverKeepsAnotherNodesPicture) {
    imageNode("a.png", "image/png", pngOf(picture));
    ASSERT_EQ(main.view->body(), TFrameMemoNode::Body::Image);
    ASSERT_TRUE(view()->hasPicture());
    EXPECT_EQ(view()->picture().width, 40);
    EXPECT_EQ(view()->StaticText_Size->text().toStdString(), std::to_string(pngOf(picture).size()));

    // Broken bytes: no picture, a reason, and nothing to copy or convert.
    MemoNode& broken = imageNode("picture", "image/jpeg", "\xFF\xD8\xFF garbage");
    EXPECT_FALSE(view()->hasPicture());
    EXPECT_TRUE(main.contains("Not a readable JPEG picture"));
    EXPECT_FALSE(view()->Copy());
    EXPECT_TRUE(QApplication::clipboard()->image().isNull());
    EXPECT_FALSE(view()->toBmp());
    EXPECT_EQ(body(broken), "\xFF\xD8\xFF garbage");
    EXPECT_EQ(broken.getField_("Content-Type"), "\"image/jpeg\"");
    EXPECT_FALSE(holder->changed);

    // Empty bodies: a white box, with the notice for JPEG and PNG only.
    main.messages.clear();
    imageNode("picture", "image/jpeg", "");
    EXPECT_EQ(view()->picture().width, 50);
    EXPECT_TRUE(main.contains("Draw White Box. aStrem.size = 0"));
    EXPECT_EQ(view()->StaticText_Size->text(), QStringLiteral("0"));
    main.messages.clear();
    imageNode("picture", "image/bmp", "");
    EXPECT_EQ(view()->picture().height, 50);
    EXPECT_FALSE(main.contains("Draw White Box"));

    // Leaving for a text node lets go of the picture.
    main.select(main.node("text"));
    EXPECT_FALSE(view()->hasPicture());
    EXPECT_TRUE(view()->isHidden());
}

TEST_F(ImageView, CopyGivesThePictureByTheNodesType) {
    imageNode("a.png", "image/png", pngOf(picture));
    ASSERT_TRUE(view()->Copy());
    const QImage copied = QApplication::clipboard()->image();
    EXPECT_EQ(copied.size(), QSize(40, 30));
    EXPECT_EQ(copied.pixelColor(5, 5).red(), imageView(picture).pixelColor(5, 5).red());

    main.node("a.png").putField_("Content-Type", "\"image/x-portable\"");
    main.messages.clear();
    EXPECT_FALSE(view()->Copy());
    EXPECT_TRUE(main.contains("no support format."));
}

TEST_F(ImageView, ToJpegFollowsTheDialogAndRenamesLikeTheOldFilename) {
    MemoNode& node = imageNode("a.png", "image/png", pngOf(picture), "a.png");
    main.jpegAnswers = {};  // cancelled
    EXPECT_FALSE(view()->toJpeg());
    EXPECT_EQ(node.getField_("Content-Type"), "\"image/png\"");
    EXPECT_FALSE(holder->changed);

    main.jpegAnswers = {{20, true}};
    ASSERT_TRUE(view()->toJpeg());
    EXPECT_EQ(node.getField_("Content-Type"), "\"image/jpeg\"");
    EXPECT_EQ(node.getField_("Filename"), "\"a.jpg\"");
    EXPECT_EQ(node.getName_(), "a.jpg");
    EXPECT_EQ(main.view->shownName(), "a.jpg");
    EXPECT_TRUE(holder->changed);
    const DecodedImage jpeg = decodeJpeg(body(node));
    ASSERT_TRUE(jpeg.ok());
    EXPECT_EQ(jpeg.bitmap.channels, 1);
    // The settings last chosen are where the next conversion starts.
    EXPECT_EQ(view()->jpegOptions.quality, 20);
    EXPECT_TRUE(view()->jpegOptions.grayscale);
    // The fields editor shows the new fields.
    EXPECT_NE(main.view->Memo_Fields->toPlainText().indexOf(QStringLiteral("image/jpeg")), -1);
    // Shown again from the new body.
    EXPECT_TRUE(view()->hasPicture());
    EXPECT_EQ(view()->picture().channels, 1);
}

TEST_F(ImageView, ToBmpKeepsAPlainNameAndQtReadsTheResult) {
    MemoNode& node = imageNode("picture", "image/png", pngOf(picture), "img/a.png");
    ASSERT_TRUE(view()->toBmp());
    EXPECT_EQ(node.getName_(), "picture");
    EXPECT_EQ(node.getField_("Filename"), "\"img/a.bmp\"");
    EXPECT_EQ(node.getField_("Content-Type"), "\"image/bmp\"");
    ASSERT_EQ(body(node).substr(0, 2), "BM");
    QImage read;
    ASSERT_TRUE(read.loadFromData(QByteArray::fromStdString(body(node)), "BMP"));
    EXPECT_EQ(read.size(), QSize(40, 30));
    // Transparency laid over white.
    const std::uint8_t* p = picture.row(7) + 12 * 4;
    const int expected = (p[0] * p[3] + 255 * (255 - p[3]) + 127) / 255;
    EXPECT_NEAR(read.pixelColor(12, 7).red(), expected, 1);

    // Without a Filename the stamp names the file.
    MemoNode& unnamed = imageNode("text", "image/png", pngOf(picture));
    ASSERT_TRUE(view()->toBmp());
    EXPECT_EQ(unnamed.getField_("Filename"), "\"20240131120000.bmp\"");
    EXPECT_EQ(unnamed.getName_(), "text");

    main.node("text").putField_("Content-Type", "\"image/tiff\"");
    main.messages.clear();
    EXPECT_FALSE(view()->toBmp());
    EXPECT_TRUE(main.contains("not understand image format"));
}

TEST_F(ImageView, EveryReadOnlySwitchRefusesTheChanges) {
    MemoNode& node = imageNode("picture", "image/png", pngOf(picture), "a.png");
    const std::string before = body(node);
    auto unchanged = [&] {
        EXPECT_EQ(body(node), before);
        EXPECT_EQ(node.getField_("Content-Type"), "\"image/png\"");
        EXPECT_FALSE(holder->changed);
    };
    QApplication::clipboard()->setImage(imageView(gradientBitmap(4, 4, 3)).copy());

    node.setReadOnly_(true);
    EXPECT_FALSE(view()->toBmp());
    EXPECT_FALSE(view()->Paste());
    EXPECT_TRUE(main.contains("flagReadOnly=\"true\""));
    unchanged();
    node.setReadOnly_(false);

    holder->setReadOnly_(true);
    main.jpegAnswers = {{90, false}};
    EXPECT_FALSE(view()->toJpeg());
    EXPECT_TRUE(main.contains("This MemoHolder is Read Only. (h)"));
    unchanged();
    holder->setReadOnly_(false);

    main.uiReadOnly = true;
    EXPECT_FALSE(view()->toBmp());
    main.uiReadOnly = false;
    main.view->setReadOnly(true);
    EXPECT_FALSE(view()->Paste());
    main.view->setReadOnly(false);
    unchanged();
}

TEST_F(ImageView, PasteTakesABitmapOrMakesATextNode) {
    MemoNode& node = imageNode("picture", "image/png", pngOf(picture), "shots/p.png");
    QApplication::clipboard()->setImage(imageView(gradientBitmap(8, 6, 3)).copy());
    ASSERT_TRUE(view()->Paste());
    EXPECT_EQ(node.getField_("Content-Type"), "\"image/bmp\"");
    EXPECT_EQ(node.getField_("Filename"), "\"shots/p.bmp\"");
    EXPECT_EQ(decodeBmp(body(node)).bitmap.width, 8);
    EXPECT_EQ(view()->picture().width, 8);
    EXPECT_TRUE(holder->changed);

    QApplication::clipboard()->setText(QStringLiteral("hello"));
    main.messages.clear();
    EXPECT_TRUE(view()->Paste());
    EXPECT_TRUE(main.contains("Not Image"));
    EXPECT_EQ(main.newTexts, std::vector<std::string>{"hello"});

    QApplication::clipboard()->clear();
    main.messages.clear();
    EXPECT_FALSE(view()->Paste());
    EXPECT_TRUE(main.contains("Not Image"));
    EXPECT_TRUE(main.contains("no text"));
    EXPECT_EQ(main.newTexts.size(), 1u);
}

TEST_F(ImageView, ALinkedNodesNewBodyGoesIntoItsFileFirst) {
    TempFolder dir;
    holder->putField_("FlagExtra", "\"true\"");
    holder->putField_("Filename", "\"" + dir.path("h.mxh") + "\"");
    writeBytes(dir.path("a.png"), pngOf(picture));
    writeBytes(dir.path("a.bmp"), "a file of the user's");
    MemoNode& node = imageNode("picture", "image/png", pngOf(picture), "./a.png");
    node.putField_("FlagLink", "\"true\"");

    // The target exists: the user is asked, and No changes nothing.
    EXPECT_FALSE(view()->toBmp());
    ASSERT_EQ(main.questions.size(), 1u);
    EXPECT_NE(main.questions[0].find("a.bmp"), std::string::npos);
    std::string kept;
    ASSERT_TRUE(readFile(dir.path("a.bmp"), kept));
    EXPECT_EQ(kept, "a file of the user's");
    EXPECT_EQ(node.getField_("Filename"), "\"./a.png\"");

    main.yesNoAnswers = {true};
    ASSERT_TRUE(view()->toBmp());
    std::string written;
    ASSERT_TRUE(readFile(dir.path("a.bmp"), written));
    EXPECT_EQ(written, body(node));
    EXPECT_EQ(node.getField_("Filename"), "\"./a.bmp\"");
}

TEST_F(ImageView, ALargeJpegIsShownFromAWindowSizedDecodeButConvertedWhole) {
    const std::string jpeg = encodeJpeg(gradientBitmap(2400, 1800, 3)).bytes;
    MemoNode& node = imageNode("picture", "image/jpeg", jpeg, "big.jpg");
    ASSERT_TRUE(view()->hasPicture());
    EXPECT_FALSE(view()->isWhole());
    EXPECT_LT(view()->picture().width, 2400);
    ASSERT_TRUE(view()->Copy());
    EXPECT_EQ(QApplication::clipboard()->image().width(), 2400);
    EXPECT_TRUE(view()->isWhole());

    imageNode("a.png", "image/png", pngOf(picture));
    imageNode("picture", "image/jpeg", jpeg, "big.jpg");
    ASSERT_FALSE(view()->isWhole());
    ASSERT_TRUE(view()->toBmp());
    EXPECT_EQ(decodeBmp(body(node)).bitmap.width, 2400);

    // "1/1" is the picture's own size.
    imageNode("a.png", "image/png", pngOf(picture));
    imageNode("text", "image/jpeg", jpeg);
    view()->setScaleAuto(false);
    view()->setScalePercent(100);
    EXPECT_EQ(view()->Image1->size(), QSize(2400, 1800));
}

TEST_F(ImageView, ScalingSteps) {
    imageNode("a.png", "image/png", pngOf(picture));
    TFrameImage* image = view();
    image->resize(400, 300);
    image->setScalePercent(100);
    image->stepScale(ScaleStep::Plus10);
    EXPECT_FALSE(image->isScaleAuto());
    EXPECT_EQ(image->ComboBox_Scale->currentText(), QStringLiteral("110"));
    EXPECT_EQ(image->Image1->size(), QSize(44, 33));
    image->setScalePercent(3);
    image->stepScale(ScaleStep::Plus10);
    EXPECT_EQ(image->scalePercent(), 1);
    image->setScalePercent(2);
    image->stepScale(ScaleStep::Minus50);
    EXPECT_EQ(image->scalePercent(), 1);
    // A typed scale is kept within bounds when applied.
    image->ComboBox_Scale->setEditText(QStringLiteral("100000"));
    EXPECT_EQ(image->Image1->size(),
              QSize(40 * kMaxScalePercent / 100, 30 * kMaxScalePercent / 100));

    // "Width" on a picture exactly as wide as the box.
    Bitmap wide = gradientBitmap(image->ScrollBox1->width(), 10, 3);
    imageNode("picture", "image/bmp", encodeBmp(wide).bytes);
    view()->fitWidth();
    EXPECT_EQ(view()->scalePercent(), 99);

    view()->setScaleAuto(true);
    EXPECT_TRUE(view()->GroupBox_ScaleManual->isHidden());
    view()->togglePanel();
    EXPECT_FALSE(view()->PanelTop->isHidden());
}

TEST(ImageScale, StepsRoundHalfToEvenAndRestartAtOne) {
    EXPECT_EQ(steppedPercent(100, ScaleStep::Plus50), 150);
    EXPECT_EQ(steppedPercent(5, ScaleStep::Plus50), 7);    // 2.5 rounds to 2
    EXPECT_EQ(steppedPercent(15, ScaleStep::Plus10), 17);  // 1.5 rounds to 2
    EXPECT_EQ(steppedPercent(25, ScaleStep::Plus10), 27);  // 2.5 rounds to 2
    EXPECT_EQ(steppedPercent(4, ScaleStep::Minus10), 1);
    EXPECT_EQ(steppedPercent(100, ScaleStep::Minus50), 50);
    EXPECT_EQ(steppedPercent(1500, ScaleStep::Plus50), kMaxScalePercent);
    EXPECT_EQ(leadingPercent(" 75% "), 75);
    EXPECT_EQ(leadingPercent("x"), 0);
    EXPECT_EQ(appliedPercent("0"), 1);
    EXPECT_EQ(fittingPercent(400, 0), 100);
    EXPECT_EQ(fittingPercent(200, 400), 49);
}

}  // namespace
}  // namespace zel::test
