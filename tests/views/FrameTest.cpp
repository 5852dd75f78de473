// The holder frame turns clicks, drops, keys, the wheel and its menus into
// changes of the current node, marks, order and names.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <functional>

#include "ViewsTestSupport.h"
#include "formats/TContent.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "views/ViewText.h"

namespace zel::test {
namespace {

using Names = std::vector<std::string>;

void showIn(FakeHost& host, MemoHolderUI& holder, std::string_view mode) {
    holder.putField_("ModeNodesMngr", "\"" + std::string(mode) + "\"");
    host.show(holder);
    host.frame->show();
}

TEST(HolderFrame, ACheckBoxClickMarksTheNodeAroundTheFieldsEditor) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b"});
    showIn(host, holder, kModeCheckList);
    NodeRowModel* lines = holder.checkListModel();
    lines->setData(lines->index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(holder.at_(0)->getField_("flagMarked"), "\"true\"");
    EXPECT_EQ(host.editorCalls, Names({"save", "reload"})) << "a is the current node";
    lines->setData(lines->index(1, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(host.editorCalls.size(), 2u) << "b is not current: its editor stays";

    host.frame->switchToTree();
    host.frame->switchToCheckList();
    EXPECT_EQ(holder.countMarked_(), 2);
    EXPECT_EQ(lines->index(1, 0).data(Qt::CheckStateRole).toInt(), Qt::Checked);
}

TEST(HolderFrame, DroppingALineMovesItToTheLineUnderThePointer) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b", "c", "d"});
    showIn(host, holder, kModeCheckList);
    NodeCheckList* lines = holder.checkList();
    const QPoint overC = lines->visualRect(holder.checkListModel()->index(2, 0)).center();
    host.frame->dropOnCheckList(overC);
    EXPECT_EQ(namesInOrder(holder), Names({"b", "c", "a", "d"}));
    EXPECT_TRUE(holder.changed);

    holder.setCurrent_(holder.byName_("b"));
    host.frame->dropOnCheckList(QPoint(5, lines->viewport()->height() - 2));
    EXPECT_EQ(namesInOrder(holder), Names({"c", "a", "d", "b"})) << "below the lines: the last";
}

TEST(HolderFrame, DroppingATreeItemMakesItThePreviousSiblingOfTheTarget) {
    FakeHost host;
    MemoHolderUI& holder =
        addHolder(*host.file, "H", {"r", "c1", "c2", "s", "s1"}, {"", "r", "r", "", "s"});
    showIn(host, holder, kModeTree);
    NodeTreeView* tree = holder.treeView();
    tree->expandAll();
    auto pointOver = [&](const char* name) {
        return tree
            ->visualRect(holder.treeModel()->indexOf(holder.treeItemOf(holder.byName_(name))))
            .center();
    };
    holder.setCurrent_(holder.byName_("s"));
    host.frame->dropOnTree(pointOver("c2"));
    EXPECT_EQ(treeShape(holder), Names({"r:-", "c1:r", "s:r", "s1:s", "c2:r"}));
    EXPECT_EQ(holder.byName_("s")->getField_("ParentNodeID"), "\"ur\"");

    holder.setCurrent_(holder.byName_("c1"));
    host.frame->dropOnTree(pointOver("r"));
    EXPECT_EQ(treeShape(holder).front(), "c1:-");
    EXPECT_EQ(holder.byName_("c1")->fields.indexOf("ParentNodeID"), -1);
}

TEST(HolderFrame, LeftAndRightKeysShowTheNeighbouringHolders) {
    FakeHost host;
    MemoHolderUI& first = addHolder(*host.file, "A", {"a"});
    MemoHolderUI& second = addHolder(*host.file, "B", {"b"});
    showIn(host, first, kModeCheckList);
    auto release = [](QWidget* control, int key) {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(control, &event);
    };
    release(first.checkList(), Qt::Key_Right);
    EXPECT_EQ(host.frame->holder(), &second);
    release(second.checkList(), Qt::Key_Right);
    EXPECT_EQ(host.frame->holder(), &second) << "no holder after the last";
    release(second.checkList(), Qt::Key_Left);
    EXPECT_EQ(host.frame->holder(), &first);
    EXPECT_TRUE(first.checkList()->isVisible());
    EXPECT_FALSE(second.checkList()->isVisible());
}

TEST(HolderFrame, TreeKeysMoveThroughTheDisplayOrder) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"p", "q", "c"}, {"", "", "p"});
    showIn(host, holder, kModeTree);
    host.frame->treeKeyUp(Qt::Key_Down);
    EXPECT_EQ(host.current->getName_(), "c");
    host.frame->treeKeyUp(Qt::Key_Down);
    host.frame->treeKeyUp(Qt::Key_Up);
    EXPECT_EQ(host.current->getName_(), "c");
}

TEST(HolderFrame, ShowQueryMakesReportColumnsFromTheQueryNode) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"query", "trip"});
    holder.putField_("QueryNode", "\"query\"");
    holder.byName_("query")->memo = {"Date 80", "# note", "  Place"};
    MemoNode* trip = holder.byName_("trip");
    trip->putField_("Date", "\"20240501\"");
    trip->putField_("Place", "\"Kyoto\"");
    showIn(host, holder, kModeList);
    ASSERT_EQ(holder.reportColumns_().size(), 3u) << "a new list starts with the query's columns";
    holder.byName_("query")->memo.push_back("Extra");
    ASSERT_EQ(host.frame->showQuery(), 0);

    const auto& columns = holder.reportColumns_();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].caption, "name");
    EXPECT_EQ(columns[0].width, holder.listControl()->width());
    EXPECT_EQ(columns[1].caption, "Date");
    EXPECT_EQ(columns[1].width, 80);
    EXPECT_EQ(columns[2].width, 50);
    EXPECT_EQ(holder.listControl()->viewStyle(), NodeListControl::Report);
    EXPECT_EQ(holder.listModel()->index(1, 2).data().toString(), QStringLiteral("\"Kyoto\""));
    EXPECT_EQ(host.messages.back(), "Done");

    std::vector<std::string> lines;
    EXPECT_EQ(holder.exportLines_(lines), 2);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].starts_with("# views_tests noname:H  "));
    EXPECT_EQ(lines[1], "Date,Place,Extra");
    EXPECT_EQ(lines[3], "\"20240501\",\"Kyoto\",");
}

TEST(HolderFrame, SaveAsCSVWritesTheExportLines) {
    QTemporaryDir folder;
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a"});
    showIn(host, holder, kModeList);
    host.savePath = folder.filePath(QStringLiteral("out.csv")).toStdString();
    EXPECT_EQ(host.frame->saveAsCSV(), 3) << "heading, column captions, one item";
    EXPECT_TRUE(host.proposedSavePath.ends_with("H.csv"));
    std::string text;
    ASSERT_TRUE(readFile(host.savePath, text));
    EXPECT_TRUE(text.ends_with("\r\n\r\n")) << "no report columns: an empty heading and row";

    std::vector<std::string> lines;
    host.frame->switchToCheckList();
    EXPECT_EQ(holder.exportLines_(lines), 1);
    EXPECT_EQ(lines.back(), "a");
}

std::string iconBytes(QColor colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "ICO");
    return bytes.toStdString();
}

void makeIconNode(MemoHolderUI& holder, const std::string& name) {
    auto node = holder.newNode_();
    node->putField_("Content-Type", "\"image/ico\"");
    node->content = std::make_unique<TContent>(node.get());
    node->content->stream = iconBytes(Qt::red);
    holder.addNode_(std::move(node), name);
}

TEST(HolderFrame, IconsNeedNumbersWithoutGapsAndLabelsIgnoreCase) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"x", "y"});
    makeIconNode(holder, "icon 0 a");
    makeIconNode(holder, "icon 2 c");
    holder.byName_("x")->putField_("icon", "\"0\"");
    showIn(host, holder, kModeTree);
    EXPECT_EQ(holder.loadIcons_(), -1);
    EXPECT_TRUE(holder.treeModel()->index(0, 0).data(Qt::DecorationRole).isNull());

    holder.byName_("icon 2 c")->putName_as_("icon 1 b");
    holder.byName_("x")->putField_("icon", "\"b\"");
    holder.byName_("y")->putField_("icon", "\"B\"");
    EXPECT_EQ(holder.loadIcons_(), 2);
    holder.applyIcons_();
    EXPECT_EQ(holder.treeItemOf(holder.byName_("x"))->image, 1);
    EXPECT_EQ(holder.treeItemOf(holder.byName_("y"))->image, 1);
    EXPECT_FALSE(holder.treeModel()->index(0, 0).data(Qt::DecorationRole).isNull());
}

TEST(HolderFrame, RenameEntriesKeepANameThatWouldBecomeEmpty) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"single"});
    showIn(host, holder, kModeCheckList);
    EXPECT_EQ(host.frame->renameCut1(), -1);
    EXPECT_EQ(host.messages.back(), "Do not rename empty characters.");
    EXPECT_EQ(host.current->getName_(), "single");

    host.frame->renameWithMark(utf8ToSjis("●"));
    EXPECT_EQ(host.shownName, utf8ToSjis("● single"));
    EXPECT_EQ(holder.checkListModel()->index(0, 0).data().toString(), QStringLiteral("● single"));

    QApplication::clipboard()->setText(QStringLiteral("two\r\nlines"));
    host.frame->renamePaste();
    EXPECT_EQ(host.current->getName_(), "twolines");
}

TEST(HolderFrame, CloneXAsksForACountOfAtLeastOne) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a"});
    showIn(host, holder, kModeCheckList);
    host.answers = {"0", "abc", "", "7x"};
    for (int i = 0; i < 4; ++i) host.frame->cloneAsked();
    host.frame->cloneAsked();  // cancelled: no answer left
    EXPECT_EQ(host.clones, std::vector<int>({1, 1, 7}));
    EXPECT_EQ(host.frame->cloneCountText, "7x");
}

TEST(HolderFrame, TheWheelStepsThroughNodesButNotAwayFromAWebAddress) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b", "c"});
    showIn(host, holder, kModeCheckList);
    QApplication::setActiveWindow(host.frame.get());
    holder.checkList()->setFocus();
    ASSERT_TRUE(host.frame->wheelStep(true));
    EXPECT_EQ(host.current->getName_(), "b");
    host.current->putField_("Content-Transfer-Encoding", "\"URL\"");
    EXPECT_FALSE(host.frame->wheelStep(true));
    host.current->putField_("FlagWheel", "\"true\"");
    EXPECT_TRUE(host.frame->wheelStep(false));
    EXPECT_EQ(host.current->getName_(), "a");
}

TEST(HolderFrame, ThePositionDisplayCountsFromOne) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a", "b"});
    showIn(host, holder, kModeCheckList);
    host.setCurMemoNode_(holder.at_(1));
    EXPECT_EQ(host.frame->StatusBar2->findChild<QLabel*>()->text(), QStringLiteral("2 / 2"));
    host.current = nullptr;
    host.frame->updatePosition();
    EXPECT_EQ(host.frame->StatusBar2->findChild<QLabel*>()->text(), QStringLiteral("0 / 2"));
}

TEST(HolderFrame, MenuEntriesRunTheirCommandsButWaitWhileOneRuns) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"a"});
    showIn(host, holder, kModeCheckList);
    host.busy = true;
    host.frame->popupAction(host.frame->PopupMenuLB, "Delete")->trigger();
    EXPECT_TRUE(host.commands.empty());
    host.busy = false;
    host.frame->popupAction(host.frame->PopupMenuLB, "Delete")->trigger();
    host.frame->popupAction(host.frame->PopupMenuTV, "New Child/Grep/<img")->trigger();
    host.frame->popupAction(host.frame->PopupMenuLV, "Up")->trigger();
    host.frame->popupAction(host.frame->PopupMenuTV, "UP")->trigger();
    EXPECT_EQ(host.commands,
              Names({"UIDeleteMemoNode", "UINewChildGrep5(<img)", "UIMoveNodeUp", "UIMoveNodeUp"}));
}

TEST(HolderFrame, EntriesOfCommandsNotBuiltAreDisabled) {
    FakeHost host;
    host.frame->initialise(&host);
    for (QMenu* menu : {host.frame->PopupMenuLB, host.frame->PopupMenuTV}) {
        EXPECT_FALSE(host.frame->popupAction(menu, "Rename/Dialog")->isEnabled());
        EXPECT_TRUE(host.frame->popupAction(menu, "Rename/Cut1")->isEnabled());
        EXPECT_TRUE(host.frame->popupAction(menu, "Delete")->isEnabled());
    }
}

TEST(HolderFrame, PopUpRenamesMarkTheHolderChanged) {
    FakeHost host;
    MemoHolderUI& holder = addHolder(*host.file, "H", {"page9 note", "x"});
    showIn(host, holder, kModeTree);
    const auto renames = std::vector<std::function<int()>>{
        [&] { return host.frame->renameWithMark(utf8ToSjis("★")); },
        [&] { return host.frame->renameCut1(); },
        [&] { return host.frame->renameCounted(true); },
        [&] { return host.frame->renameCounted(false); },
        [&] { return host.frame->renameExtractFilename(); },
    };
    for (const auto& rename : renames) {
        holder.changed = false;
        ASSERT_EQ(rename(), 0);
        EXPECT_TRUE(holder.changed) << host.current->getName_();
    }
    holder.changed = false;
    host.current->putName_as_("one");
    EXPECT_EQ(host.frame->renameCut1(), -1);
    EXPECT_FALSE(holder.changed) << "a refused rename changes nothing";
}

}  // namespace
}  // namespace zel::test
