// The remembered window: the state file under XDG_STATE_HOME, the ten recent
// memo files latest first, the size, place and splitter of the window, and the
// holder and node last shown of a memo file.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QSplitter>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "app/window/WindowState.h"
#include "model/MemoNode.h"
#include "views/TFrameMemoHolder.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class WindowStateTest : public AppTest {};

TEST_F(WindowStateTest, TheStateKeepsTenRecentFilesLatestFirstAndNamesInEveryScript) {
    EXPECT_EQ(WindowState::filePath(), dir + "/state/zel/state.ini");
    WindowState state;
    for (int i = 1; i <= 12; ++i) state.addRecent("/m/" + std::to_string(i) + ".mxa");
    state.addRecent("/m/5.mxa");
    // "日記" in Shift_JIS, as the model names it.
    const std::string diary = "\x93\xfa\x8b\x4c";
    state.setPlace({"/m/" + diary + ".mxa", diary, "node\x81\x40" + diary});
    state.setPlace({"/m/1.mxa", "h", "n"});
    state.setPlace({"/m/1.mxa", "h2", "n2"});
    state.setLayout("main", QByteArray("\x01\x02geometry", 10));
    ASSERT_TRUE(state.save());
    // UTF-8 on disk, like the desktop's other files.
    EXPECT_NE(readText("state/zel/state.ini").find("\xe6\x97\xa5\xe8\xa8\x98"), std::string::npos);

    const WindowState read = WindowState::load();
    EXPECT_EQ(read.recent(), (Names{"/m/5.mxa", "/m/12.mxa", "/m/11.mxa", "/m/10.mxa", "/m/9.mxa",
                                    "/m/8.mxa", "/m/7.mxa", "/m/6.mxa", "/m/4.mxa", "/m/3.mxa"}));
    ASSERT_NE(read.place("/m/" + diary + ".mxa"), nullptr);
    EXPECT_EQ(read.place("/m/" + diary + ".mxa")->node, "node\x81\x40" + diary);
    EXPECT_EQ(read.place("/m/1.mxa")->holder, "h2");
    EXPECT_EQ(read.place("/m/2.mxa"), nullptr);
    EXPECT_EQ(read.layout("main"), QByteArray("\x01\x02geometry", 10));
}

TEST_F(WindowStateTest, TheWindowComesBackAtItsSizeAndPlaceWithItsSplitter) {
    makeWindow();
    window->show();
    window->resize(700, 480);
    window->move(40, 30);
    QSplitter* splitter = window->FrameMemoHolder1->Splitter1;
    splitter->setSizes({150, 520});
    QApplication::processEvents();
    const QList<int> sizes = splitter->sizes();
    rememberWindows(*window);

    const QSize size = window->size();

    makeWindow();
    window->show();
    restoreMainWindow(*window);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), size);
    EXPECT_EQ(window->FrameMemoHolder1->Splitter1->sizes(), sizes);
}

// Qt refuses a geometry saved on a screen whose width differs by more than a
// quarter; the window must still fit this screen, at whatever size it has.
TEST_F(WindowStateTest, AWindowLargerThanTheScreenIsFittedAlsoWhenItsGeometryIsRefused) {
    makeWindow();
    window->show();
    window->resize(760, 500);
    rememberWindows(*window);
    WindowState state = WindowState::load();
    QByteArray geometry = state.layout("main");
    // The width of the screen it was saved on, in the saved bytes (version 3).
    constexpr int kScreenWidthAt = 46;
    ASSERT_GT(geometry.size(), kScreenWidthAt + 4);
    const QRect free = QGuiApplication::primaryScreen()->availableGeometry();
    const qint32 wider = free.width() * 2;
    for (int i = 0; i < 4; ++i)
        geometry[kScreenWidthAt + i] = static_cast<char>((wider >> (8 * (3 - i))) & 0xff);
    ASSERT_FALSE(QWidget().restoreGeometry(geometry)) << "Qt accepts the geometry after all";
    state.setLayout("main", geometry);
    ASSERT_TRUE(state.save());

    makeWindow();
    window->show();
    window->setGeometry(free.x() + free.width() / 2, free.y() + 10, window->minimumWidth(),
                        free.height() + 100);
    restoreMainWindow(*window);
    QApplication::processEvents();
    EXPECT_TRUE(free.contains(window->frameGeometry()))
        << "free " << free.width() << "x" << free.height() << ", window at " << window->x() << ","
        << window->y() << " " << window->width() << "x" << window->height();
}

TEST_F(WindowStateTest, AnOpenedMemoFileHeadsTheRecentMenuAndItsLastNodeComesBack) {
    writeMemoFile("other.mxa", {{"x", {"x1"}}});
    openMemoFile({{"a", {"a1"}}, {"b", {"b1", "b2", "b3"}}});
    EXPECT_EQ(WindowState::load().recent(), (Names{path("memo.mxa")}));
    window->changeHolder_(holder("b"));
    window->setCurMemoNode_(holder("b")->byName_("b3"));
    rememberWindows(*window);

    makeWindow();
    ASSERT_EQ(window->_open_(path("other.mxa")), 0);
    EXPECT_EQ(WindowState::load().recent(), (Names{path("other.mxa"), path("memo.mxa")}));
    QMenu* recent = window->menuAction("&File/Recent")->menu();
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions().at(1)->text().toStdString(), path("memo.mxa"));
    recent->actions().at(1)->trigger();

    EXPECT_EQ(window->aFile->getMemoFilePath_(), path("memo.mxa"));
    EXPECT_EQ(window->getCurHolder()->getName_(), "b");
    EXPECT_EQ(window->getCurMemoNode()->getName_(), "b3");
    EXPECT_EQ(openRecentFile(*window, path("gone.mxa")), kFailed);
}

}  // namespace
}  // namespace zel
