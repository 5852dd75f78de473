// Generated text into the node editor's selection, and nodes made from the
// lines of the memo text.

#include <QPlainTextEdit>
#include <filesystem>

#include "app/AppTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoNodeUI.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class ListCommandsTest : public AppTest {
  protected:
    QPlainTextEdit* memo() { return window->FrameMemoNode1->MemoNode0; }
    void clearMemo() {
        memo()->clear();
        memo()->setFocus();
    }
    QString shown() { return memo()->toPlainText(); }
};

TEST_F(ListCommandsTest, ListsOfNodesMarksAndHoldersGoIntoTheSelection) {
    openMemoFile({{"A", {"a", "b"}}, {"B", {"x"}}});
    clearMemo();
    // Lines joined by line breaks, none after the last.
    EXPECT_EQ(window->UINodesList2SEL(), 0);
    EXPECT_EQ(shown(), QStringLiteral("a\nb"));
    EXPECT_TRUE(memo()->textCursor().hasSelection()) << "the written text stays selected";

    clearMemo();
    setNodeMark(*holder("A")->byName_("b"), true);
    EXPECT_EQ(window->UIMarkList2Sel(), 0);
    EXPECT_EQ(shown(), QStringLiteral("b"));

    clearMemo();
    EXPECT_EQ(window->UIHolderList2Sel(), 0);
    EXPECT_EQ(shown(), QStringLiteral("A\nB"));

    clearMemo();
    holder("A")->byName_("a")->putField_("k", "\"1\"");
    holder("A")->byName_("b")->putField_("j", "\"2\"");
    const int keys = window->UIFieldsList2Sel();
    EXPECT_GE(keys, 2);
    EXPECT_FALSE(shown().endsWith(QLatin1Char('\n'))) << shown().toStdString();
    EXPECT_EQ(shown().count(QLatin1Char('\n')), keys - 1);

    for (int (TFormMainScript::*report)() :
         {&TFormMainScript::UIVersion2SEL, &TFormMainScript::UIFileMXA2Sel}) {
        clearMemo();
        EXPECT_EQ((window.get()->*report)(), 0);
        EXPECT_FALSE(shown().isEmpty());
        EXPECT_FALSE(shown().endsWith(QLatin1Char('\n'))) << shown().toStdString();
    }
}

TEST_F(ListCommandsTest, AFieldTableReadsBackAsAHolder) {
    openMemoFile({{"A", {"apple", "pear"}}});
    holder("A")->byName_("apple")->putField_("price", "\"100\"");
    clearMemo();
    prompter->input("price");
    EXPECT_EQ(window->UIMakeListNameValue(false), 2);
    // Every written line ends with a line break.
    const QStringList lines = shown().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], QStringLiteral("name, price"));
    EXPECT_EQ(lines[2], QStringLiteral("apple,\"100\""));

    // The node editor's text becomes a holder named "CSV" with the same values.
    memo()->selectAll();
    window->UI2Model();
    ASSERT_EQ(window->UICSV2Holder(), 0);
    MemoHolder* table = window->getCurHolder();
    EXPECT_EQ(table->getName_(), "CSV");
    ASSERT_EQ(table->count_(), 2);
    EXPECT_EQ(table->at_(0)->getField_("name"), "\"apple\"");
    EXPECT_EQ(table->at_(0)->getField_("price"), "\"100\"");
}

TEST_F(ListCommandsTest, MemoLinesBecomeNodesCopiedFromTheStarTemplate) {
    openMemoFile({{"A", {"*", "a"}}});
    holder("A")->byName_("*")->putField_("Kind", "\"link\"");
    memo()->setPlainText(QStringLiteral("one\n\n  \ntwo"));
    EXPECT_EQ(window->UIMemoNode2NewNodes(), 2);
    MemoNode* one = holder("A")->byName_("one");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->getField_("Kind"), "\"link\"");
    EXPECT_EQ(one->getField_("Filename"), "\"one\"");

    memo()->setPlainText(QStringLiteral("first\nsecond"));
    EXPECT_EQ(window->UIMemoNode2Holder(), 2);
    MemoHolder* made = window->getCurHolder();
    EXPECT_NE(made, holder("A"));
    EXPECT_EQ(made->count_(), 2);
    EXPECT_EQ(window->getCurMemoNode()->getName_(), "first");
    EXPECT_EQ(made->byName_("second")->getField_("Kind"), "\"link\"");
}

TEST_F(ListCommandsTest, CheckHolderTellsMissingFilesAndStrayHolderFiles) {
    openMemoFile({{"A", {"a"}}, {"Gone", {"g"}}});
    std::filesystem::remove(path("Gone.mxh"));
    std::filesystem::create_directories(path("old"));
    writeText("old/stray.mxh", "");
    clearMemo();
    window->UICheckHolder();
    const std::string text = shown().toStdString();
    EXPECT_NE(text.find(path("A.mxh") + " exists\n"), std::string::npos);
    EXPECT_NE(text.find(path("Gone.mxh") + " not exists\n"), std::string::npos);
    EXPECT_NE(text.find(path("A.mxh") + " included\n"), std::string::npos);
    EXPECT_NE(text.find(path("old/stray.mxh") + " not include\n"), std::string::npos);
}

}  // namespace
}  // namespace zel
