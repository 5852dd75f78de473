#include <gtest/gtest.h>

#include "NodeViewTestSupport.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/OutlineTree.h"

namespace zel::test {
namespace {

using Lines = std::vector<std::string>;

const Lines kFigure = {"{", "figure", "{", "deltas x", "{", "1 2 3", "}", "}", "}"};

class OutlineView : public ::testing::Test {
  protected:
    void SetUp() override {
        holder = &main.addHolder({"plain", "figure", "other"});
        figure = &main.node("figure");
        figure->putField_("Content-Transfer-Encoding", "\"Poser\"");
        figure->memo = kFigure;
        plain = &main.node("plain");
        plain->memo = {"just text"};
        other = &main.node("other");
        other->putField_("Content-Transfer-Encoding", "\"PoserLike\"");
        other->memo = {"a", "{", "b", "}"};
        holder->changed = false;
    }
    OutlineTree* tree() { return main.view->outlineTree(); }
    OutlineItem& top(std::size_t i) { return *tree()->outline().root.children.at(i); }

    FakeMainWindow main;
    MemoHolderUI* holder = nullptr;
    MemoNode* figure = nullptr;
    MemoNode* plain = nullptr;
    MemoNode* other = nullptr;
};

TEST_F(OutlineView, ShowsTheTreeAndWritesItBackOnlyAfterAnEdit) {
    main.select(*figure);
    ASSERT_EQ(main.view->body(), TFrameMemoNode::Body::Outline);
    EXPECT_TRUE(main.view->PanelMemo->isHidden());
    ASSERT_EQ(tree()->outline().root.children.size(), 1u);
    EXPECT_EQ(top(0).text, "figure");
    EXPECT_EQ(top(0).children.at(0)->block, (Lines{"{", "1 2 3", "}"}));
    OutlineModel* model = tree()->outlineModel();
    EXPECT_EQ(model->data(model->index(0, 0), Qt::DisplayRole), QStringLiteral("figure"));
    // A kept block is named beside its item; editing sees the text alone.
    const QModelIndex deltas = model->index(0, 0, model->index(0, 0));
    EXPECT_EQ(model->data(deltas, Qt::DisplayRole), QStringLiteral("deltas x  {3 lines}"));
    EXPECT_EQ(model->data(deltas, Qt::EditRole), QStringLiteral("deltas x"));
    EXPECT_EQ(model->data(deltas, Qt::ToolTipRole), QStringLiteral("{\n1 2 3\n}"));

    // Looking is not editing.
    main.select(*plain);
    EXPECT_EQ(figure->memo, kFigure);
    EXPECT_FALSE(holder->changed);

    main.select(*figure);
    tree()->selectItem(top(0).children.at(0).get());
    ASSERT_TRUE(tree()->AddChildNode());
    main.select(*plain);
    EXPECT_EQ(figure->memo, (Lines{"{", "figure", "\t{", "\tdeltas x", "\t\t{", "\t\t1 2 3",
                                   "\t\t}", "\t\t{", "\t\t ", "\t\t}", "\t}", "}"}));
    EXPECT_TRUE(holder->changed);
}

TEST_F(OutlineView, TheTreeIsNeverWrittenIntoAnotherNode) {
    main.select(*figure);
    tree()->selectItem(&top(0));
    ASSERT_TRUE(tree()->AddNode());
    main.select(*plain);
    const Lines written = figure->memo;
    EXPECT_EQ(written.size(), kFigure.size() + 1);
    main.select(*figure);
    main.select(*plain);
    main.select(*other);
    main.select(*plain);
    EXPECT_EQ(plain->memo, Lines{"just text"});
    EXPECT_EQ(other->memo, (Lines{"a", "{", "b", "}"}));
    EXPECT_EQ(figure->memo, written);

    // "->text" after an edit: the edit is written, then the text editor
    // owns the memo.
    main.select(*figure);
    tree()->selectItem(&top(0));
    ASSERT_TRUE(tree()->Delete());
    tree()->ToText();
    EXPECT_EQ(main.view->body(), TFrameMemoNode::Body::Text);
    EXPECT_EQ(figure->getField_("Content-Transfer-Encoding"), "\"text\"");
    EXPECT_EQ(figure->memo, (Lines{"{", " ", "}"}));
    typeInto(main.view->MemoNode0, QStringLiteral("typed"));
    main.select(*plain);
    EXPECT_EQ(figure->memo, Lines{"typed"});
}

TEST_F(OutlineView, RelabellingIsAnEditAndClonesCopyTheSubtree) {
    main.select(*other);
    OutlineModel* model = tree()->outlineModel();
    const QModelIndex a = model->index(0, 0);
    EXPECT_FALSE(model->setData(a, QStringLiteral("a"), Qt::EditRole));  // the same text
    EXPECT_FALSE(tree()->isEdited());
    ASSERT_TRUE(model->setData(a, QStringLiteral("A2"), Qt::EditRole));
    EXPECT_TRUE(tree()->isEdited());

    // Without a selection, Clone, Delete and Edit do nothing.
    tree()->selectionModel()->clearSelection();
    EXPECT_FALSE(tree()->Clone());
    EXPECT_FALSE(tree()->Delete());
    EXPECT_FALSE(tree()->Edit());
    tree()->selectItem(&top(0));
    ASSERT_TRUE(tree()->Clone());
    ASSERT_EQ(tree()->outline().root.children.size(), 2u);
    EXPECT_EQ(top(1).text, "A2");
    EXPECT_EQ(top(1).children.at(0)->text, "b");
    EXPECT_EQ(tree()->selectedItem(), &top(1));
    main.select(*plain);
    EXPECT_EQ(other->memo, (Lines{"{", "A2", "\t{", "\tb", "\t}", "A2", "\t{", "\tb", "\t}", "}"}));
}

TEST_F(OutlineView, ReadOnlyNodesAndViewsKeepTheirText) {
    figure->setReadOnly_(true);
    main.select(*figure);
    tree()->selectItem(&top(0));
    EXPECT_FALSE(tree()->AddNode());
    EXPECT_TRUE(main.contains("flagReadOnly=\"true\""));
    EXPECT_FALSE(tree()->outlineModel()->flags(tree()->outlineModel()->index(0, 0)) &
                 Qt::ItemIsEditable);
    main.select(*plain);
    EXPECT_EQ(figure->memo, kFigure);

    figure->setReadOnly_(false);
    main.view->setReadOnly(true);
    main.select(*figure);
    tree()->selectItem(&top(0));
    EXPECT_FALSE(tree()->Delete());
    EXPECT_EQ(tree()->outline().root.children.size(), 1u);
}

TEST_F(OutlineView, ABreakWhileReadingLeavesAPartTreeThatIsNeverWrittenBack) {
    Lines many;
    for (int i = 0; i < 200; ++i)
        many.insert(many.end(), {"item" + std::to_string(i), "{", "x", "}"});
    figure->memo = many;
    int questions = 0;
    main.onBreakQuestion = [&] { return ++questions > 3; };
    main.select(*figure);
    main.onBreakQuestion = nullptr;
    EXPECT_FALSE(tree()->isComplete());
    EXPECT_TRUE(main.contains("Break: the outline shows only part of the memo text"));
    EXPECT_LT(tree()->outline().itemCount(), 400u);
    tree()->selectItem(&top(0));
    EXPECT_FALSE(tree()->AddNode());
    main.select(*plain);
    EXPECT_EQ(figure->memo, many);
    EXPECT_FALSE(holder->changed);
}

TEST_F(OutlineView, AShowingThatStartsWhileTheTreeIsReadWins) {
    bool switched = false;
    main.onBreakQuestion = [&] {
        if (!switched) {
            switched = true;
            main.select(*plain);  // a click on another node while reading
        }
        return false;
    };
    main.select(*figure);
    main.onBreakQuestion = nullptr;
    EXPECT_TRUE(switched);
    EXPECT_EQ(main.view->node(), plain);
    EXPECT_EQ(main.view->body(), TFrameMemoNode::Body::Text);
    EXPECT_EQ(main.view->MemoNode0->toPlainText(), QStringLiteral("just text"));
    EXPECT_TRUE(tree()->outline().empty());
    EXPECT_FALSE(tree()->AddNode());
    main.select(*other);
    EXPECT_EQ(figure->memo, kFigure);
    EXPECT_EQ(plain->memo, Lines{"just text"});
}

}  // namespace
}  // namespace zel::test
