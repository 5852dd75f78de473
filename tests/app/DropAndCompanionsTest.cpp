// Files dropped on the window in each mode; the log and about windows.

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <fstream>

#include "app/AppTestSupport.h"
#include "app/window/TFormAbout.h"
#include "app/window/TFormLog.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/BitmapQt.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class DropTest : public AppTest {
  protected:
    QPoint centreOf(QWidget* widget) { return widget->mapToGlobal(widget->rect().center()); }
    Names memoAfterWriting() {
        window->UI2Model();
        return window->getCurMemoNode()->memo;
    }
};

TEST_F(DropTest, StringAndFileNameModesAppendLinesToTheMemo) {
    makeWindow();
    window->dropMode = DropString;
    window->dropFiles_({path("a.txt"), path("b.jpg")}, {});
    window->dropMode = DropExtractFileName;
    window->dropFiles_({path("c.txt")}, {});
    EXPECT_EQ(memoAfterWriting(), (Names{path("a.txt"), path("b.jpg"), "c.txt"}));
}

TEST_F(DropTest, OpenModeOverTheCommentAppendsTheFileUnlessTooLarge) {
    makeWindow();
    window->show();
    writeText("note.txt", "first\r\nsecond\r\n");
    window->dropFiles_({path("note.txt")}, centreOf(window->FrameMemoNode1->Memo_comment));
    window->UI2Model();
    EXPECT_EQ(window->getCurMemoNode()->comment, (Names{"first", "second"}));

    std::ofstream(path("big.txt")) << std::string(3145729, 'x');
    window->dropFiles_({path("big.txt")}, centreOf(window->FrameMemoNode1->Memo_comment));
    EXPECT_EQ(window->statusMessage(), "Too Large 3MB Over " + path("big.txt"));
}

TEST_F(DropTest, OpenModeOverTheFieldsSetsTheLink) {
    makeWindow();
    window->show();
    window->getCurMemoNode()->putField_("Link", "\"old\"");
    window->Model2UI();
    window->dropFiles_({path("x.pdf")}, centreOf(window->FrameMemoNode1->Memo_Fields));
    window->UI2Model();
    EXPECT_EQ(window->getCurMemoNode()->getField_("Link"), "\"" + path("x.pdf") + "\"");
}

TEST_F(DropTest, OpenModeElsewhereOpensEveryFile) {
    makeWindow();
    writeText("one.txt", "1\r\n");
    writeText("two.txt", "2\r\n");
    window->dropFiles_({path("one.txt"), path("two.txt")}, {});
    EXPECT_EQ(window->getCurHolder()->count_(), 3);
    EXPECT_EQ(window->getCurMemoNode()->getName_(), path("two.txt"));
}

class LogAboutTest : public AppTest {};

TEST_F(LogAboutTest, LogButtons) {
    makeWindow();
    window->addLogDT_("stamped");
    window->logList_({"second", "third"});
    TFormLog* log = window->formLog();
    EXPECT_FALSE(log->isVisible()) << "logging does not show the window";
    Names lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(
        QString::fromStdString(lines[0]).contains(QRegularExpression("^\\d{8} \\d{6} :stamped$")));

    EXPECT_EQ(window->showFormLog(), 0);
    EXPECT_EQ(log->windowTitle().toStdString(), "FormLog noname");
    log->buttonCopyAll->click();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("second\nthird")));

    int before = window->getCurHolder()->count_();
    log->buttonNewNode->click();
    EXPECT_EQ(window->getCurHolder()->count_(), before + 1);
    EXPECT_EQ(window->getCurMemoNode()->memo.back(), "third");

    log->buttonClear->click();
    EXPECT_EQ(log->lineCount(), 0);
    log->buttonHide->click();
    EXPECT_FALSE(log->isVisible());
}

TEST_F(LogAboutTest, RefusedNewNodeDoesNotReceiveTheLog) {
    makeWindow();
    window->addLog_("secret");
    MemoNode* current = window->getCurMemoNode();
    window->CheckBox_UIReadOnly->setChecked(true);
    window->formLog()->buttonNewNode->click();
    window->UI2Model();
    EXPECT_TRUE(current->memo.empty());
    EXPECT_EQ(window->getCurHolder()->count_(), 1);
}

TEST_F(LogAboutTest, AboutCountsDownAndTheTimerItemPausesIt) {
    makeWindow();
    window->showAbout(1800);
    TFormAbout* about = window->formAbout();
    for (int tick = 0; tick < 8; ++tick) about->countDown();
    EXPECT_TRUE(about->isVisible());
    about->countDown();
    EXPECT_FALSE(about->isVisible()) << "closed after nine ticks";

    window->UIShowAbout();
    EXPECT_EQ(window->statusMessage(), "Done: Show FormAbout. Close After 5 seconds.");
    about->timerItem->trigger();
    EXPECT_FALSE(about->timerRunning());
    about->timerItem->trigger();
    EXPECT_TRUE(about->timerRunning());
    EXPECT_EQ(about->remainingMilliseconds(), 5000);
}

TEST_F(LogAboutTest, AboutPictures) {
    makeWindow();
    QImage picture(8, 6, QImage::Format_RGB888);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(path("a.jpg")), "JPEG"));
    ASSERT_TRUE(picture.save(QString::fromStdString(path("b.bmp")), "BMP"));
    ASSERT_TRUE(picture.save(QString::fromStdString(path("c.jpeg")), "JPEG"));

    EXPECT_EQ(window->setAboutImage(path("a.jpg")), 0);
    TFormAbout* about = window->formAbout();
    EXPECT_EQ(about->Image1->pixmap().size(), QSize(8, 6));
    EXPECT_TRUE(about->Label1->isHidden());
    EXPECT_EQ(window->setAboutImage(path("b.bmp")), 0);

    EXPECT_EQ(window->setAboutImage(path("c.jpeg")), -1);
    EXPECT_EQ(about->Label1->text(), QStringLiteral("c.jpeg"));
    EXPECT_EQ(about->windowTitle(), QStringLiteral("c.jpeg"));
    EXPECT_EQ(about->Label1->font().pointSize(), 20);
    EXPECT_EQ(window->setAboutImage(path("missing.jpg")), -1);
    EXPECT_EQ(about->Label1->text(), QStringLiteral("missing.jpg"));
}

TEST(JpegImageTest, DecodesJpegAndRefusesOtherBytes) {
    QImage picture(5, 3, QImage::Format_RGB888);
    picture.fill(QColor(0, 0, 255));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG", 100);
    QImage decoded =
        decodeToQImage(std::string_view(bytes.constData(), bytes.size()), ImageFormat::Jpeg);
    ASSERT_EQ(decoded.size(), QSize(5, 3));
    EXPECT_GT(qBlue(decoded.pixel(2, 1)), 200);
    EXPECT_TRUE(decodeToQImage("not a jpeg at all", ImageFormat::Jpeg).isNull());
    // A cut file must neither crash nor read past its end.
    EXPECT_TRUE(
        decodeToQImage(std::string_view(bytes.constData(), bytes.size() / 2), ImageFormat::Jpeg)
            .isNull());
}

}  // namespace
}  // namespace zel
