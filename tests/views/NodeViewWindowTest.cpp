#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QPointer>

#include "NodeViewTestSupport.h"
#include "model/MemoNode.h"
#include "views/MemoNodeUI.h"
#include "views/TFormMemoNode.h"

namespace zel::test {
namespace {

TEST(NodeWindow, ANodeInItsOwnWindowIsEditedThereAndWrittenBackOnClose) {
    FakeMainWindow main;
    MemoHolderUI& holder = main.addHolder({"a", "b"});
    MemoNode& a = main.node("a");
    a.memo = {"old"};
    main.Model2UI();

    QPointer<TFormMemoNode> window = TFormMemoNode::open(main, a, false);
    EXPECT_EQ(TFormMemoNode::ownWindowOf(&a), window);
    EXPECT_TRUE(main.view->isHidden());
    EXPECT_EQ(window->StaticText_Holder->text(), u("h"));
    EXPECT_EQ(window->frame()->MemoNode0->toPlainText(), u("old"));
    // Opening it again brings the same window forward.
    EXPECT_EQ(TFormMemoNode::open(main, a, false), window);

    // The main window writes back through the node's own window.
    typeInto(window->frame()->MemoNode0, u("typed"));
    main.UI2Model();
    EXPECT_EQ(a.memo, (std::vector<std::string>{"typed"}));

    typeInto(window->frame()->MemoNode0, u("typed again"));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(a.memo, (std::vector<std::string>{"typed again"}));
    EXPECT_EQ(TFormMemoNode::ownWindowOf(&a), nullptr);
    EXPECT_FALSE(main.view->isHidden());
    EXPECT_TRUE(holder.changed);
}

TEST(NodeWindow, AReadOnlyWindowWritesNothingAndTheMainViewKeepsTheNode) {
    FakeMainWindow main;
    MemoHolderUI& holder = main.addHolder({"a"});
    MemoNode& a = main.node("a");
    a.memo = {"keep"};
    a.fields.append("LastAccessed=\"old\"");
    main.Model2UI();

    TFormMemoNode* window = TFormMemoNode::open(main, a, true);
    // Opening wrote the main window's view back (and stamped the node).
    const std::string stamped = a.getField_("LastAccessed");
    holder.changed = false;
    EXPECT_EQ(TFormMemoNode::ownWindowOf(&a), nullptr);
    EXPECT_FALSE(main.view->isHidden());
    EXPECT_TRUE(window->frame()->MemoNode0->isReadOnly());
    EXPECT_TRUE(window->CheckBox_UIReadOnly->isHidden());
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    for (QAction* entry : window->frame()->PopupMenuMemo->actions())
        if (entry->text() == QStringLiteral("Paste(&P)")) entry->trigger();
    EXPECT_EQ(window->frame()->MemoNode0->toPlainText(), u("keep"));
    window->close();
    EXPECT_EQ(a.memo, (std::vector<std::string>{"keep"}));
    EXPECT_EQ(a.getField_("LastAccessed"), stamped);
    EXPECT_FALSE(holder.changed);
}

TEST(NodeWindow, AWindowWhoseNodeWentAwayClosesWithoutTouchingIt) {
    FakeMainWindow main;
    MemoHolderUI& holder = main.addHolder({"a", "b"});
    MemoNode& b = main.node("b");
    QPointer<TFormMemoNode> window = TFormMemoNode::open(main, b, false);
    typeInto(window->frame()->MemoNode0, u("lost"));
    holder.removeNode_(&b);
    // Renaming from the name line's menu finds the node gone and lets go of it.
    window->frame()->PopupMenu1->actions().back()->trigger();
    EXPECT_EQ(window->frame()->node(), nullptr);
    EXPECT_TRUE(window->frame()->StaticText_name->text().isEmpty());
    window->close();
}

TEST(NodeWindow, TheAgentAsksTheMainWindowForTheInternetOption) {
    FakeMainWindow main;
    main.addHolder({"a"});
    MemoNode& a = main.node("a");
    TFormMemoNode* window = TFormMemoNode::open(main, a, true);
    EXPECT_EQ(window->nodeViewAgent()->query_("getUIInternet"), "true");
    main.internet = false;
    EXPECT_EQ(window->nodeViewAgent()->query_("getUIInternet"), "false");
    TFormMemoNode alone(nullptr);
    EXPECT_EQ(alone.nodeViewAgent()->query_("getUIInternet"), "true");
    window->nodeViewAgent()->message_("to the window");
    EXPECT_EQ(window->statusPanel->text(), u("to the window"));
}

}  // namespace
}  // namespace zel::test
