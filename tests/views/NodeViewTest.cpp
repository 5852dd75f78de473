#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include "NodeViewTestSupport.h"
#include "formats/TContent.h"
#include "model/MemoNode.h"
#include "views/NodeViewText.h"

namespace zel::test {
namespace {

constexpr DateTime kJan31{2024, 1, 31, 9, 8, 7, 6};

// Runs the entry `caption` of the submenu `submenu` of `menu`.
void trigger(QMenu* menu, const QString& submenu, const QString& caption) {
    for (QAction* entry : menu->actions()) {
        if (!entry->menu() || entry->text() != submenu) continue;
        for (QAction* sub : entry->menu()->actions())
            if (sub->text() == caption) sub->trigger();
    }
}

std::vector<std::string> fieldsOf(const MemoNode& node) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < node.fields.size(); ++i) lines.push_back(node.fields[i]);
    return lines;
}

class NodeView : public ::testing::Test {
  protected:
    void SetUp() override {
        holder = &main.addHolder({"a", "b"});
        a = &main.node("a");
        b = &main.node("b");
        main.view->clock = [] { return kJan31; };
    }
    // Shows `node` after giving it these parts, as a freshly read node.
    void show(MemoNode& node) {
        main.select(*b);
        main.select(node);
        holder->changed = false;
    }

    FakeMainWindow main;
    MemoHolderUI* holder = nullptr;
    MemoNode* a = nullptr;
    MemoNode* b = nullptr;
};

TEST_F(NodeView, BrowsingWithoutTypingWritesNothing) {
    a->memo = {"memo " + sjis("日本語"), "\xED\x40"};
    a->comment = {"note"};
    a->fields.append("Color=\"clRed\"");
    const std::vector<std::string> memo = a->memo;
    show(*a);
    main.select(*b);
    EXPECT_EQ(a->memo, memo);
    EXPECT_EQ(fieldsOf(*a), (std::vector<std::string>{"Color=\"clRed\""}));
    EXPECT_FALSE(holder->changed);
}

TEST_F(NodeView, EditsGoBackExactlyWhereTheUserChangedText) {
    a->memo = {sjis("日本語の一行"), "\xED\x40 kept", "old"};
    a->comment = {"c1"};
    a->fields.append("Zeta=\"1\"");
    a->fields.append("alpha='x'");
    a->fields.append("Filename=\"a b.txt\"");
    show(*a);
    typeInto(main.view->MemoNode0, main.view->MemoNode0->toPlainText().replace("old", "new"));
    typeInto(main.view->Memo_comment, u("c1\n二行目"));
    typeInto(main.view->Memo_Fields,
             main.view->Memo_Fields->toPlainText().replace("alpha='x'", "alpha='y'"));
    main.select(*b);

    EXPECT_EQ(a->memo, (std::vector<std::string>{sjis("日本語の一行"), "\xED\x40 kept", "new"}));
    EXPECT_EQ(a->comment, (std::vector<std::string>{"c1", sjis("二行目")}));
    EXPECT_EQ(fieldsOf(*a),
              (std::vector<std::string>{"Zeta=\"1\"", "alpha='y'", "Filename=\"a b.txt\""}));
    EXPECT_TRUE(holder->changed);
}

TEST_F(NodeView, AnEmojiBecomesAQuestionMarkWithAMessage) {
    a->memo = {"x"};
    show(*a);
    typeInto(main.view->MemoNode0, u("x\xF0\x9F\x98\x80y"));
    main.select(*b);
    EXPECT_EQ(a->memo, (std::vector<std::string>{"x?y"}));
    EXPECT_TRUE(main.contains("replaced by \"?\""));
}

TEST_F(NodeView, ReadOnlyNodesAndHoldersAreNeverWritten) {
    a->memo = {"keep"};
    a->setReadOnly_(true);
    show(*a);
    typeInto(main.view->MemoNode0, u("typed"));
    main.select(*b);
    EXPECT_EQ(a->memo, (std::vector<std::string>{"keep"}));

    a->setReadOnly_(false);
    holder->putField_("FlagReadOnly", "\"true\"");
    b->fields.append("LastAccessed=\"old\"");
    show(*b);
    typeInto(main.view->MemoNode0, u("typed"));
    main.select(*a);
    EXPECT_TRUE(b->memo.empty());
    EXPECT_EQ(b->getField_("LastAccessed"), "\"old\"");
    EXPECT_FALSE(holder->changed);
}

TEST_F(NodeView, StampsOnlyTheFieldsTheNodeHas) {
    a->fields.append("LastAccessed=\"\"");
    a->fields.append("Authors=\"someone\"");
    show(*a);
    main.select(*b);
    EXPECT_EQ(a->getField_("LastAccessed"), "\"20240131 090807006\"");
    EXPECT_EQ(a->getField_("Authors"), "\"someone\"");
    EXPECT_EQ(a->fields.indexOf("LastReader"), -1);
    EXPECT_TRUE(holder->changed);

    // An edit also names the author, and the fields editor shows the stamps.
    show(*a);
    typeInto(main.view->MemoNode0, u("edited"));
    main.view->UI2Model();
    EXPECT_EQ(a->getField_("Authors"), "\"tester\"");
    EXPECT_EQ(main.view->Memo_Fields->toPlainText(),
              u("LastAccessed=\"20240131 090807006\"\nAuthors=\"tester\""));
}

TEST_F(NodeView, CommentAndFieldsEditorsCollapseWhenEmptyAndReopen) {
    a->comment = {"note"};
    show(*b);
    EXPECT_FALSE(main.view->isCommentOpen());
    EXPECT_FALSE(main.view->isFieldsOpen());
    main.select(*a);
    EXPECT_TRUE(main.view->isCommentOpen());

    // Typing into a reopened editor of an empty comment stores it.
    main.select(*b);
    main.view->setCommentOpen(true);
    typeInto(main.view->Memo_comment, u("new note"));
    main.select(*a);
    EXPECT_EQ(b->comment, (std::vector<std::string>{"new note"}));

    // Emptying a comment clears it.
    main.select(*b);
    typeInto(main.view->Memo_comment, u("  "));
    main.select(*a);
    EXPECT_TRUE(b->comment.empty());
}

TEST_F(NodeView, RenamingKeepsTheHoldersUniqueNamesAndRefusesEmptyOnes) {
    main.names = {"b", "   "};
    main.view->nameDialog();
    EXPECT_EQ(a->getName_(), "b_01");
    EXPECT_EQ(main.view->shownName(), "b_01");
    EXPECT_TRUE(holder->changed);

    main.view->nameDialog();
    EXPECT_EQ(a->getName_(), "b_01");
    EXPECT_TRUE(main.contains("Do not rename Empty characters."));

    a->setReadOnly_(true);
    main.view->nameDialog();
    EXPECT_TRUE(main.contains("Read Only Mode! Can not Change Node name."));
}

TEST_F(NodeView, BodiesByTheirEncoding) {
    a->putField_("Content-Transfer-Encoding", "\"binary\"");
    a->putField_("Content-Type", "\"image/tiff\"");
    a->content = std::make_unique<TContent>();
    a->content->stream = std::string("II*");
    a->comment = {"still shown"};
    show(*a);
    EXPECT_TRUE(main.view->PanelMemo->isHidden());
    EXPECT_EQ(main.view->body(), TFrameMemoNode::Body::None);
    EXPECT_EQ(main.view->Memo_comment->toPlainText(), u("still shown"));

    b->putField_("Content-Transfer-Encoding", "\"URL\"");
    b->putField_("Filename", "\"https://example.org/\"");
    main.internet = false;
    show(*b);
    ASSERT_EQ(main.view->body(), TFrameMemoNode::Body::Web);
    EXPECT_TRUE(main.contains("Disable Access Internet. b"));
    EXPECT_NE(main.view->webView()->currentAddress(), "https://example.org/");

    b->putField_("Filename", "\"file:///tmp/x.html\"");
    main.messages.clear();
    show(*b);
    EXPECT_EQ(main.view->body(), TFrameMemoNode::Body::Web);
    EXPECT_FALSE(main.contains("Disable Access Internet."));
}

TEST_F(NodeView, AMissingLinkedFileIsReported) {
    a->putField_("FlagLink", "\"true\"");
    a->putField_("Filename", "\"/nonexistent/zel/x.txt\"");
    show(*a);
    EXPECT_TRUE(
        main.contains("FlagLink=\"true\" but not found Filename=\"/nonexistent/zel/x.txt\""
                      " name=a"));
}

TEST_F(NodeView, SelectionOperationsKeepTheResultSelected) {
    show(*a);
    QPlainTextEdit* memo = main.view->MemoNode0;
    typeInto(memo, u("keep\nb,c\n<p>x\nlast"));
    selectRange(memo, 5, 14);  // "b,c\n<p>x\n"
    main.view->addHeadSEL_("> ");
    EXPECT_EQ(memo->toPlainText(), u("keep\n> b,c\n> <p>x\nlast"));
    EXPECT_EQ(memo->textCursor().selectedText(), u("> b,c\u2029> <p>x\u2029"));
    EXPECT_EQ(main.view->insertionBuffer, u("keep\nb,c\n<p>x\nlast"));

    main.view->delHeadSEL_(2);
    EXPECT_EQ(main.view->lfSEL(), 3);
    EXPECT_EQ(memo->toPlainText(), u("keep\nb,\nc\n<p>x\nlast"));
    main.view->tagWordListSEL();
    EXPECT_EQ(memo->toPlainText(), u("keep\nb,c\n<p>\nx\nlast"));

    memo->selectAll();
    EXPECT_EQ(main.view->setNumberSEL_(""), 5);
    EXPECT_EQ(memo->toPlainText().section('\n', 1, 1), u("00000002:b,c"));
}

TEST_F(NodeView, WholeBodyOperationsWorkOnTheTextEditorWhateverHasTheFocus) {
    show(*a);
    typeInto(main.view->MemoNode0, u("b\na\nb\nB\n"));
    main.view->Memo_comment->setFocus();
    EXPECT_EQ(main.view->markDupMemo(), 0);
    EXPECT_EQ(main.view->sortMemo(), 4);
    EXPECT_EQ(main.view->MemoNode0->toPlainText(), u("a\nB\nb\nb\n"));
    EXPECT_EQ(main.view->markDupMemo(), 1);
    EXPECT_EQ(main.view->MemoNode0->toPlainText(), u("a\nB\nb\n* b\n"));
    EXPECT_EQ(main.view->countWords_("B"), 3);
    EXPECT_TRUE(main.view->Memo_comment->toPlainText().isEmpty());
}

TEST_F(NodeView, NamesFromTheSelection) {
    show(*a);
    typeInto(main.view->MemoNode0, u("one\ntwo"));
    main.view->MemoNode0->selectAll();
    main.view->addNameSEL(true);
    EXPECT_EQ(a->getName_(), "a onetwo");
    main.view->replaceNameSEL();
    EXPECT_EQ(a->getName_(), "onetwo");
}

TEST_F(NodeView, PastePlusDateUsesTheMainWindowsFormat) {
    main.format = "\"yy/mm/dd\"";
    show(*a);
    trigger(main.view->PopupMenuMemo, "Paste+", "Date");
    EXPECT_EQ(main.view->MemoNode0->toPlainText(), u("24/01/31"));
}

TEST_F(NodeView, CopyPlusNameMemoAlsoCopiesTheComment) {
    a->memo = {"m"};
    a->comment = {"c"};
    show(*a);
    auto copyWith = [this](const QString& caption) {
        trigger(main.view->PopupMenuMemo, "Copy+", caption);
        return QApplication::clipboard()->text();
    };
    const QString both = copyWith("Name+Memo+Comment");
    EXPECT_EQ(copyWith("Name+Memo"), both);
    EXPECT_TRUE(both.startsWith("a\n**** **** **** **** **** Memo"));
    EXPECT_TRUE(both.endsWith("Comment * **** **** **** **** ****\nc\n"));
}

}  // namespace
}  // namespace zel::test
