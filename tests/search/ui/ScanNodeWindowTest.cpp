// The node search window and the grep options dialog offscreen.

#include <gtest/gtest.h>

#include "search/ui/FakeSearchHost.h"
#include "search/ui/TFormGrep.h"
#include "search/ui/TFormScanNode.h"
#include "views/ViewText.h"

namespace zel {
namespace {

using test::FakeSearchHost;
using Section = TFormScanNode::Section;

TEST(ScanNodeWindow, OpensModallyOnCopiesOfTheCurrentNode) {
    FakeSearchHost host;
    MemoHolder& holder = host.addHolder("h", {"n"}, {{"line 1", "line 2"}});
    MemoNode& node = *holder.at_(0);
    node.comment = {"note"};
    node.fields.append("Color=\"clRed\"");
    TFormScanNode window;
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(window.open(host));
    EXPECT_EQ(fromQt(window.windowTitle()), "FormScanNode demo : h : n");
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window.Edit_Name->text(), QStringLiteral("n"));
    EXPECT_EQ(window.tabs[Section::SectionMemo].Memo->toPlainText(),
              QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(window.tabs[Section::SectionComment].Memo->toPlainText(), QStringLiteral("note"));
    EXPECT_EQ(window.tabs[Section::SectionField].Memo->toPlainText(),
              QStringLiteral("Color=\"clRed\""));
    EXPECT_EQ(window.Panel_Top->palette().color(QPalette::Window), QColor(Qt::red));

    // An attached file's memo lines are not text.
    node.setBlankImage_();
    window.Update();
    EXPECT_TRUE(window.tabs[Section::SectionMemo].Memo->toPlainText().isEmpty());
    window.close();
    host.currentNode = nullptr;
    EXPECT_FALSE(window.open(host));
}

TEST(ScanNodeWindow, GrepListsTheStoredNodeAndFeedsTheSharedHistory) {
    FakeSearchHost host;
    std::vector<std::string> memo(40, "-");
    memo[2] = "abc here";
    memo[39] = "more abc";
    host.addHolder("h", {"abc list"}, {memo});
    TFormScanNode window;
    window.open(host);
    window.tabs[Section::SectionMemo].Memo->setPlainText(QStringLiteral("edited, not searched"));
    window.ComboBox_KeyWord->setEditText(QStringLiteral("abc"));
    window.Button_Grep->click();
    EXPECT_EQ(window.Memo_Grep->toPlainText(),
              QStringLiteral("h:abc list:Name:abc list\n"
                             "h:abc list:Memo:000001:      3: abc here\n"
                             "h:abc list:Memo:000002:     40: more abc"));
    EXPECT_EQ(window.StatusBar1->shown(), "*Done Grep* count=3 KeyWord=abc");
    EXPECT_EQ(window.PageControl1->currentWidget(), window.TabSheet_Grep);
    EXPECT_EQ(host.history.entries(), (std::vector<std::string>{"abc"}));

    window.NewNode();
    EXPECT_EQ(host.editorMemo.size(), 3u);
    EXPECT_EQ(host.editorMemo[2], "h:abc list:Memo:000002:     40: more abc");

    window.ComboBox_KeyWord->setEditText(toQt("\x82\x81\x82\x82\x82\x83"));  // ａｂｃ
    window.Grep();
    EXPECT_EQ(host.boxes,
              (std::vector<std::string>{
                  "confirmation: *Done Grep* No match KeyWord=\x82\x81\x82\x82\x82\x83"}));
    EXPECT_TRUE(window.Memo_Grep->toPlainText().isEmpty());
    window.ComboBox_KeyWord->setEditText(QString());
    window.Grep();
    EXPECT_EQ(host.boxes.back(), "warning: KeyWord is Empty.");
}

TEST(ScanNodeWindow, ReplaceTakesOneOccurrenceFromTheStartPerPress) {
    FakeSearchHost host;
    MemoHolder& holder = host.addHolder("h", {"n"}, {{"a b a"}});
    TFormScanNode window;
    window.open(host);
    auto& memo = window.tabs[Section::SectionMemo];
    window.ComboBox_KeyWord->setEditText(QStringLiteral("a"));
    memo.ComboBox_ReplaceWord->setEditText(QStringLiteral("aa"));
    window.CheckBox_Ignore->setChecked(true);
    window.Replace(Section::SectionMemo);
    EXPECT_FALSE(memo.ReplaceDialog->CheckBox_MatchCase->isChecked());
    memo.ReplaceDialog->Button_Replace->click();
    EXPECT_EQ(memo.Memo->toPlainText(), QStringLiteral("aa b a"));
    memo.ReplaceDialog->Button_ReplaceAll->click();
    EXPECT_EQ(memo.Memo->toPlainText(), QStringLiteral("aaa b a"));
    EXPECT_EQ(holder.at_(0)->memo[0], "a b a");  // copies only

    auto& field = window.tabs[Section::SectionField];
    window.ComboBox_KeyWord->setEditText(QStringLiteral("qq"));
    window.Replace(Section::SectionField);
    field.ReplaceDialog->replace();
    EXPECT_EQ(host.boxes, (std::vector<std::string>{"error: Could not find \"qq\" in Memo1."}));
}

TEST(ScanNodeWindow, FindNextSearchesOnFromTheSelectionWithTheLastScannedKeyword) {
    FakeSearchHost host;
    host.addHolder("h", {"n"},
                   {{"\x83\x41"
                     "A x A"}});  // アA x A
    TFormScanNode window;
    window.open(host);
    auto& memo = window.tabs[Section::SectionMemo];
    window.ComboBox_KeyWord->setEditText(QStringLiteral("A"));
    window.Scan(Section::SectionMemo);
    EXPECT_TRUE(memo.FindDialog->isVisible());
    window.ComboBox_KeyWord->setEditText(QStringLiteral("x"));  // not scanned yet
    memo.FindDialog->findNext();
    EXPECT_EQ(memo.Memo->textCursor().selectionStart(), 1);  // after ア, a whole character
    memo.ReplaceDialog->findNext();
    EXPECT_EQ(memo.Memo->textCursor().selectionStart(), 5);
    memo.FindDialog->findNext();
    EXPECT_EQ(memo.Memo->textCursor().selectionStart(), 5);  // no further hit: nothing happens
    EXPECT_EQ(window.ComboBox_KeyWord->itemText(0), QStringLiteral("A"));
    window.Replace(Section::SectionMemo);
    window.close();
    EXPECT_FALSE(memo.FindDialog->isVisible());
    EXPECT_FALSE(memo.ReplaceDialog->isVisible());
}

TEST(GrepDialog, StartsWithItsDefaultsAndKeepsTheConfirmedKeyword) {
    TFormGrep dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("FormGrep"));
    GrepChoice shown = dialog.choice();
    EXPECT_EQ(shown.mode, GrepContains);
    EXPECT_TRUE(shown.ignoreCase);
    EXPECT_FALSE(shown.invert);
    EXPECT_FALSE(shown.numbered);

    GrepChoice wanted;
    wanted.mode = GrepTail;
    wanted.invert = true;
    wanted.numbered = true;
    wanted.ignoreCase = false;
    wanted.keyword = "\x83\x41";
    dialog.load(wanted);
    bool lossless = false;
    shown = dialog.choice(&lossless);
    EXPECT_TRUE(lossless);
    EXPECT_EQ(shown.mode, GrepTail);
    EXPECT_TRUE(shown.invert && shown.numbered && !shown.ignoreCase);
    EXPECT_EQ(shown.keyword, "\x83\x41");

    dialog.Button_OK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ComboBox_KeyWord->itemText(0), toQt("\x83\x41"));
    dialog.ComboBox_KeyWord->setEditText(QString::fromUtf8("\xF0\x9F\x98\x80"));
    dialog.choice(&lossless);
    EXPECT_FALSE(lossless);
}

}  // namespace
}  // namespace zel
