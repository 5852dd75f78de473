// The web browser window's commands, and the image and web views in the
// main window: the Prompter's JPEG settings, the read-only switch, pasted
// screens and the web view's "NewNode".

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QThread>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "app/window/NodeEditor.h"
#include "formats/ImageCodecs.h"
#include "formats/ImageSamples.h"
#include "formats/TContent.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"
#include "views/TFormWB.h"
#include "views/TFrameImage.h"
#include "views/TFrameMemoNode.h"
#include "views/WebBrowser.h"

namespace zel {
namespace {

bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

class WebImageCommandsTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openMemoFile({{"A", {"a", "b"}}});
    }
    MemoNode& node(const std::string& name) { return *holder("A")->byName_(name); }
    TFrameMemoNode* frame() { return window->nodeEditor()->nodeFrame(); }
    // `name` as an image node of `type` holding `bytes`, shown.
    MemoNode& imageNode(const std::string& name, const std::string& type,
                        const std::string& bytes) {
        MemoNode& made = node(name);
        made.putField_("Content-Transfer-Encoding", "\"binary\"");
        made.putField_("Content-Type", "\"" + type + "\"");
        made.content = std::make_unique<TContent>();
        made.content->stream = bytes;
        window->setCurMemoNode_(&node(name == "a" ? "b" : "a"));
        window->setCurMemoNode_(&made);
        holder("A")->changed = false;
        return made;
    }
    TFormWB* formWB() { return window->existingCompanion<TFormWB>(); }
    bool pageTitled(const QString& title) {
        return waitFor([&] {
            TFormWB* form = formWB();
            return form && form->FrameWB1->WebBrowser1->title() == title &&
                   !form->FrameWB1->WebBrowser1->isBusy();
        });
    }
};

TEST_F(WebImageCommandsTest, TheWebBrowserCommandsAreInTheirMenus) {
    for (const char* item :
         {"Window/Web Browser", "[MemoNode]/->Web Browser", "[MarkWord]/->Web Browser"})
        EXPECT_TRUE(window->menuAction(item)->isEnabled()) << item;
    window->menuAction("Window/Web Browser")->trigger();
    ASSERT_NE(formWB(), nullptr);
    EXPECT_TRUE(formWB()->isVisible());
    EXPECT_EQ(formWB()->windowTitle(), QStringLiteral("FormWB"));
    EXPECT_EQ(window->statusMessage().rfind("Show FormWB ", 0), 0u);
    // One window, kept.
    TFormWB* first = formWB();
    ASSERT_EQ(window->UIShowFormWB(), 0);
    EXPECT_EQ(formWB(), first);
}

TEST_F(WebImageCommandsTest, MemoAndSelectionGoToTheWindowAsPages) {
    window->nodeEditor()->setMemoText(
        "<html><head><title>memo</title></head><body>m</body></html>");
    ASSERT_EQ(runCommand(*window, "UIMemo2WB"), 0);
    EXPECT_TRUE(pageTitled(QStringLiteral("memo")));

    window->nodeEditor()->setMemoText("<title>picked</title>rest");
    QPlainTextEdit* editor = frame()->MemoNode0;
    QTextCursor cursor(editor->document());
    cursor.setPosition(0);
    cursor.setPosition(21, QTextCursor::KeepAnchor);
    editor->setTextCursor(cursor);
    ASSERT_EQ(runCommand(*window, "UISel2WB"), 0);
    EXPECT_TRUE(pageTitled(QStringLiteral("picked")));

    window->nodeEditor()->setMemoText("  ");
    EXPECT_EQ(window->UIMemo2WB(), -1);
    EXPECT_EQ(window->statusMessage(), "UIMemo2WB: No Text");

    imageNode("b", "image/png", "x").putField_("Filename", "\"./pics/none.png\"");
    EXPECT_EQ(window->UIMemo2WB(), -1);
    EXPECT_EQ(window->statusMessage(), "Not Found " + path("pics/none.png"));
}

TEST_F(WebImageCommandsTest, AWebNodeOpensItsRelativeAddressInTheWindow) {
    writeText("page.html", "<html><head><title>beside</title></head></html>");
    MemoNode& web = node("b");
    web.putField_("Content-Transfer-Encoding", "\"URL\"");
    web.putField_("Filename", "\"./page.html\"");
    window->setCurMemoNode_(&web);
    ASSERT_EQ(window->UIMemo2WB(), 0);
    EXPECT_TRUE(pageTitled(QStringLiteral("beside")));
    EXPECT_EQ(formWB()->FrameWB1->currentAddress(), path("page.html"));

    // The node view's own web view makes a web node of the page it shows.
    ASSERT_TRUE(frame()->webView());
    ASSERT_TRUE(waitFor([&] { return frame()->webView()->currentAddress() == path("page.html"); }));
    frame()->webView()->NewNode();
    EXPECT_EQ(window->statusMessage(), "Done: New MemoNode URL " + path("page.html"));
    EXPECT_EQ(window->getCurMemoNode()->getField_("Filename"), "\"" + path("page.html") + "\"");
}

TEST_F(WebImageCommandsTest, TheJpegSettingsAreAQuestionOfThePrompter) {
    MemoNode& picture = imageNode("a", "image/png", test::pngOf(test::gradientBitmap(20, 10, 3)));
    TFrameImage* view = frame()->imageView();
    ASSERT_NE(view, nullptr);
    prompter->cancelJpeg();
    EXPECT_FALSE(view->toJpeg());
    EXPECT_EQ(prompter->offeredJpeg.quality, 95);
    EXPECT_FALSE(holder("A")->changed);

    prompter->chooseJpeg({30, false});
    ASSERT_TRUE(view->toJpeg());
    EXPECT_EQ(picture.getField_("Content-Type"), "\"image/jpeg\"");
    EXPECT_TRUE(holder("A")->changed);
    EXPECT_EQ(decodeJpeg(*picture.content->stream).bitmap.width, 20);
    prompter->cancelJpeg();
    EXPECT_FALSE(view->toJpeg());
    EXPECT_EQ(prompter->offeredJpeg.quality, 30);
}

TEST_F(WebImageCommandsTest, TheWindowsReadOnlySwitchStopsTheImageView) {
    MemoNode& picture = imageNode("a", "image/png", test::pngOf(test::gradientBitmap(4, 4, 3)));
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_FALSE(frame()->imageView()->toBmp());
    EXPECT_EQ(window->statusMessage(), "UI ReadOnly");
    EXPECT_EQ(picture.getField_("Content-Type"), "\"image/png\"");
}

TEST_F(WebImageCommandsTest, APastedPictureBecomesABitmapNode) {
    auto* owner = dynamic_cast<NodeViewOwner*>(window->nodeEditor());
    ASSERT_NE(owner, nullptr);
    QImage shot(12, 8, QImage::Format_RGB32);
    shot.fill(QColor(10, 200, 30));
    ASSERT_TRUE(owner->pasteImageAsNewNode(shot));
    MemoNode* made = window->getCurMemoNode();
    ASSERT_NE(made, &node("a"));
    EXPECT_EQ(made->getField_("Content-Type"), "\"image/bmp\"");
    EXPECT_TRUE(stripQuotes(made->getField_("Filename")).ends_with(".bmp"));
    const DecodedImage read = decodeBmp(*made->content->stream);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.bitmap.width, 12);
    EXPECT_EQ(read.bitmap.row(3)[1], 200);
    EXPECT_TRUE(frame()->imageView()->hasPicture());
}

TEST_F(WebImageCommandsTest, TheInternetSwitchReachesEveryBrowser) {
    QCheckBox* internet = window->CheckBox_UIInternet;
    internet->setChecked(false);
    EXPECT_FALSE(webInternetAllowed());
    internet->setChecked(true);
    EXPECT_TRUE(webInternetAllowed());
}

}  // namespace
}  // namespace zel
