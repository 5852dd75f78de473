// The [MarkWord] and [MemoNode] text tools run the node view's operations on
// its editor, with the guards and messages of their commands.

#include <QCheckBox>
#include <QPlainTextEdit>

#include "app/AppTestSupport.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

class TextToolsTest : public AppTest {
  protected:
    QPlainTextEdit* memo() { return window->FrameMemoNode1->MemoNode0; }
    void typeLines(int count) {
        QStringList lines;
        for (int i = 1; i <= count; ++i) lines << QStringLiteral("line %1").arg(i);
        memo()->setPlainText(lines.join(QLatin1Char('\n')));
        memo()->selectAll();
        memo()->setFocus();
    }
};

TEST_F(TextToolsTest, HeadsAndAutomaticNumbersFollowTheSelection) {
    openMemoFile({{"A", {"a"}}});
    typeLines(2);
    EXPECT_EQ(window->UIAddHeadSEL_("> "), 2);
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("> line 1\n> line 2"));

    typeLines(12);
    window->UISetNumberSELAuto();
    EXPECT_EQ(window->statusMessage(), "Done: UISetNumberSEL_ Format=%2d Count Of Line=12");
    EXPECT_TRUE(memo()->toPlainText().startsWith(QStringLiteral(" 1")));
    typeLines(9);
    window->UISetNumberSELAuto();
    EXPECT_EQ(window->statusMessage(), "Done: UISetNumberSEL_ Format=%1d Count Of Line=9");
}

TEST_F(TextToolsTest, GuardedToolsWaitForTheReadOnlySwitch) {
    openMemoFile({{"A", {"a"}}});
    typeLines(2);
    window->CheckBox_UIReadOnly->setChecked(true);
    EXPECT_EQ(window->UISortSEL(), -1);
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(window->UIOneLine(), 1) << "joining lines has no guard";
}

TEST_F(TextToolsTest, CountingWordsAndTheStatusText) {
    openMemoFile({{"A", {"a"}}});
    memo()->setPlainText(QStringLiteral("cat dog cat\ncat"));
    prompter->input(" cat ");
    EXPECT_EQ(window->UICountWords(), 3);
    EXPECT_EQ(window->statusMessage(), "3times,  \"cat\"");

    window->messageDoing_("status words");
    memo()->setPlainText(QString());
    memo()->setFocus();
    window->UIStatus2SEL();
    EXPECT_EQ(memo()->toPlainText(), QStringLiteral("status words"));
    window->UIClearMemo();
    EXPECT_TRUE(memo()->toPlainText().isEmpty());
}

}  // namespace
}  // namespace zel
