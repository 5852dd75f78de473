// Scripts in the window: the host routines by group with their results and
// effects, Eval, script nodes run by "New Child" > "Execute" in the pool of
// runners, and what stops a run (Break, closing, a script node while PP1 runs).

#include <QCloseEvent>
#include <QCoreApplication>
#include <QTimer>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "app/scripting/ScriptHost.h"
#include "app/window/NodeEditor.h"
#include "model/MemoNode.h"
#include "script/HostPrototypes.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

class ScriptHostTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        openMemoFile({{"A", {"a1", "a2", "a3"}}, {"B", {"b1"}}});
    }
    // Runs `utf8` as [MemoNode] "Eval" runs the memo text.
    int eval(const std::string& utf8) {
        logStart_ = logLines().size();
        window->nodeEditor()->setMemoText(utf8ToSjis(utf8));
        return runCommand(*window, "UIEvalMemo");
    }
    // The log lines of the last Eval.
    std::vector<std::string> printed() const {
        std::vector<std::string> lines = logLines();
        return std::vector<std::string>(lines.begin() + std::min(logStart_, lines.size()),
                                        lines.end());
    }
    std::size_t logStart_ = 0;
    MemoNode* scriptNode(const std::string& name, const std::string& script) {
        MemoNode* node = holder("A")->byName_(name);
        node->putField_("Filename", "\"" + name + ".ppa\"");
        node->memo = textLines(utf8ToSjis(script));
        return node;
    }
    int execute(MemoNode* node) {
        window->setCurMemoNode_(node);
        return runCommand(*window, "UINewChildExecuted");
    }
};

TEST_F(ScriptHostTest, FieldRoutinesReadThroughTheEditorAndQuoteAsTold) {
    ASSERT_EQ(eval("UINewNode_('abc'); UIPutField__('K','v'); UI2Model; Print(UIGetField_('K'));"
                   "Print(UIMNGetField3('', 'abc', 'K'));"
                   "UIPutField__('Q','\"w\"'); UIMNPutField4('', UIGetName, 'R', 'z');"
                   "Print(UIMNGetField3('', UIGetName, 'Q') + UIMNGetField3('', UIGetName, 'R'));"
                   "Print(UIRemoveField_('K')); UI2Model; Print('[' + UIGetField_('K') + ']');"
                   "Print(UIGetName + ' ' + UIGetNameHolder)"),
              0)
        << window->statusMessage();
    EXPECT_EQ(window->statusMessage(), "Done: Eval");
    EXPECT_THAT(printed(), ElementsAre("v", "\"v\"", "\"w\"z", "K=\"v\"", "[]", "abc A"));
    MemoNode* abc = holder("A")->byName_("abc");
    ASSERT_NE(abc, nullptr);
    EXPECT_EQ(abc->getField_("K"), "");
    EXPECT_EQ(abc->getField_("R"), "z");
    EXPECT_TRUE(holder("A")->changed);
}

// A script walking the nodes of the hidden window: what it puts through the
// node view lands in the node it meant, and the view shows the current node
// once the run ends.
TEST_F(ScriptHostTest, AWalkInTheHiddenWindowWritesWhereItMeansAndEndsShown) {
    ASSERT_FALSE(window->isVisible());
    window->setCurMemoNode_(holder("A")->byName_("a1"));
    ASSERT_EQ(eval("UIChangeCurrentNodeNext; UIPutField__('K','v'); UIChangeCurrentNodeNext;"
                   "UIChangeCurrentNodeNext; Print(UIGetName)"),
              0)
        << window->statusMessage();
    EXPECT_THAT(printed(), ElementsAre("a3"));
    EXPECT_EQ(holder("A")->byName_("a1")->getField_("K"), "");
    EXPECT_EQ(holder("A")->byName_("a2")->getField_("K"), "\"v\"");
    MemoNode* a3 = holder("A")->byName_("a3");
    EXPECT_EQ(a3->getField_("K"), "");
    EXPECT_EQ(window->FrameMemoNode1->node(), a3);
    EXPECT_EQ(window->FrameMemoNode1->memoLines(), a3->memo);
}

TEST_F(ScriptHostTest, NodesOfAnyHolderAreAddressedByName) {
    // A holder not loaded yet has no nodes to find.
    ASSERT_EQ(eval("Print(IntToStr(UIMNMemoCount2('B', 'b1')))"), 0);
    EXPECT_THAT(printed(), ElementsAre("-1"));
    window->loadHolder_(holder("B"));
    ASSERT_EQ(eval("Print(IntToStr(UIMNMemoCount2('', 'none')));"
                   "Print(IntToStr(UIMNAddMemo3('B', 'b1', 'line')));"
                   "Print(IntToStr(UIMNAddComment3('B', 'b1', 'note')));"
                   "Print(IntToStr(UIMNFieldsCount2('B', 'b1')) + ' ' + "
                   "IntToStr(UIMNCommentCount2('B', 'b1')));"
                   "Print('[' + UIMNMemoStrings3('B', 'b1', UIMNMemoCount2('B', 'b1')) + ']');"
                   "Print(UIMNMemoStrings3('B', 'b1', UIMNMemoCount2('B', 'b1') - 1));"
                   "Print(IntToStr(UIMNPutField4('B', 'b1', 'Key', 'raw')) + "
                   "UIMNFieldsStrings3('B', 'b1', UIMNPutField4('B', 'b1', 'Key', 'raw')));"
                   "Print('[' + UIMNGetField3('C', 'c1', 'Key') + ']')"),
              0)
        << window->statusMessage();
    MemoNode* b1 = holder("B")->byName_("b1");
    ASSERT_NE(b1, nullptr);
    const std::string count = std::to_string(b1->memo.size());
    const std::string fields = std::to_string(b1->fields.size() - 1);
    const int key = b1->fields.indexOf("Key");
    EXPECT_THAT(printed(), ElementsAre("-1", count, "1", fields + " 1", "[]", "line",
                                       std::to_string(key) + "Key=raw", "[]"));
    EXPECT_EQ(b1->comment, std::vector<std::string>{"note"});
    EXPECT_TRUE(holder("B")->changed);
}

TEST_F(ScriptHostTest, NavigationAndListModesRunTheCommands) {
    ASSERT_EQ(
        eval("Print(IntToStr(UIChangeCurrentNodeFirst));"
             "Print(IntToStr(UIChangeCurrentNodeName_('a2')) + UIGetName);"
             "Print(IntToStr(UIChangeCurrentNodeName_('nothing')));"
             "Print(IntToStr(UIChangeCurrentNodeLast)); Print(IntToStr(UIChangeCurrentNodeNext))"),
        0);
    EXPECT_THAT(printed(), ElementsAre("0", "1a2", "-1", "2", "-1"));
    EXPECT_EQ(window->getCurMemoNode(), holder("A")->byName_("a3"));
    ASSERT_EQ(eval("Print(IntToStr(UIShellExecute_('  ')))"), 0);
    EXPECT_EQ(printed().back(), "-1");
    ASSERT_EQ(eval("UIChangeTreeView; UIChangeCheckListBox; Print(IntToStr(UIDeleteMemoNode))"), 0);
    EXPECT_EQ(holder("A")->byName_("a3"), nullptr);
}

TEST_F(ScriptHostTest, WritesHonourReadOnlyHoldersAndNodes) {
    holder("A")->setReadOnly_(true);
    const int before = holder("A")->count_();
    ASSERT_EQ(eval("Print(IntToStr(UINewNode_('zz'))); Print(IntToStr(UIAddMemo_('x')));"
                   "Print(IntToStr(UIMNAddMemo3('', 'a1', 'x'))); Print('[' + "
                   "UIRemoveField_('UID') + ']')"),
              0);
    EXPECT_EQ(holder("A")->count_(), before);
    EXPECT_EQ(holder("A")->byName_("zz"), nullptr);
    std::vector<std::string> lines = printed();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "-1");
    EXPECT_EQ(lines[2], "-1");
    EXPECT_EQ(lines[3], "[]");
    EXPECT_LT(std::stoi(lines[0]), 0);
}

TEST_F(ScriptHostTest, EvalOfNothingOrOfAFailingScript) {
    EXPECT_EQ(eval("   "), -1);
    EXPECT_EQ(window->statusMessage(), "No script ");
    EXPECT_EQ(eval("Print(nosuch)"), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: Eval");
    EXPECT_TRUE(logContains(utf8ToSjis("変数または関数は定義されていません[nosuch]")));
    EXPECT_EQ(eval("UIHardcopyX"), -1);
    EXPECT_EQ(eval("Print(IntToStr(UIWidth_Height_($100000000, 5)))"), -1);
    EXPECT_TRUE(logContains("Range check error"));
}

// MessageBox: the caption titles the box, the flags choose its buttons and
// the button pressed comes back as its classic code.
TEST_F(ScriptHostTest, MessageBoxTitlesTheBoxAndOffersAbortRetryIgnore) {
    prompter->answer(Answer::Retry, "Go on?").answer(Answer::Ignore).answer(Answer::Cancel);
    ASSERT_EQ(eval("Print(IntToStr(MessageBox('Go on?', 'Copying', 2 + 48)));"
                   "Print(IntToStr(MessageBox('Again?', 'Copying', 2)));"
                   "Print(IntToStr(MessageBox('Last', '', 5)))"),
              0);
    EXPECT_THAT(printed(), ElementsAre("4", "5", "2"));
    EXPECT_THAT(prompter->captions, ElementsAre("Copying", "Copying", ""));
    EXPECT_EQ(prompter->offeredButtons, ButtonRetry | ButtonCancel);

    prompter->answer(Answer::Abort);
    ASSERT_EQ(eval("Print(IntToStr(MessageBox('Stop?', 'c', 2)))"), 0);
    EXPECT_THAT(printed(), ElementsAre("3"));
    EXPECT_EQ(prompter->offeredButtons, ButtonAbort | ButtonRetry | ButtonIgnore);
}

TEST_F(ScriptHostTest, PrototypeListGoesIntoTheEditor) {
    window->nodeEditor()->setMemoText("");
    const int count = runCommand(*window, "UIFunctionList2Sel");
    EXPECT_EQ(count, 1 + static_cast<int>(hostPrototypeLines().size()));
    EXPECT_NE(window->nodeEditor()->memoText().find("procedure PrintBuf2(sName,s:String);Index 3;"),
              std::string::npos);
}

TEST_F(ScriptHostTest, EveryHostRoutineIsServed) {
    for (const HostRoutine& row : hostRoutines())
        EXPECT_TRUE(window->scriptHost().serves(row)) << row.prototype();
}

TEST_F(ScriptHostTest, ListRoutinesAnswerZeroAsTheirTableSays) {
    ASSERT_EQ(eval("Print(IntToStr(UINodesList2SEL)); Print(IntToStr(UIHolderList2SEL));"
                   "Print(IntToStr(UIVersion2SEL)); Print(IntToStr(UIFileMXA2SEL));"
                   "Print(IntToStr(UIMarkList2SEL))"),
              0);
    EXPECT_THAT(printed(), ElementsAre("0", "0", "0", "0", "0"));
}

TEST_F(ScriptHostTest, AScriptNodeLeavesItsOutputInANewChild) {
    MemoNode* script = scriptNode("a1", "PrintBuf2(PPAID, 'x'); PrintBuf(PPAID)");
    ASSERT_EQ(execute(script), 0) << window->statusMessage();
    MemoNode* child = window->getCurMemoNode();
    ASSERT_NE(child, script);
    EXPECT_EQ(child->memo, (std::vector<std::string>{"x", "PPA00"}));
    EXPECT_FALSE(script->getField_("UID").empty());
    EXPECT_EQ(child->getField_("ParentNodeID"), script->getField_("UID"));
    EXPECT_EQ(window->statusMessage(), "Done: New Child Executed : " + child->getName_());
    EXPECT_THAT(window->scriptHost().runnerNames(), ElementsAre("PPA00"));

    // A failing script: its error is shown, and the child says so.
    MemoNode* broken = scriptNode("a2", "PrintBuf('a'); Print(IntToStr(1 div 0))");
    prompter->answer(Answer::Ok, "Division by zero");
    ASSERT_EQ(execute(broken), 0);
    EXPECT_EQ(window->getCurMemoNode()->memo,
              (std::vector<std::string>{"a", "Trap ERROR UINewChildExecuted"}));

    MemoNode* blank = scriptNode("a3", "  ");
    EXPECT_EQ(execute(blank), -104);
    EXPECT_EQ(window->statusMessage(), "Abort: No script ");
}

TEST_F(ScriptHostTest, ASecondScriptNodeWhileOneRunsGetsASecondRunner) {
    MemoNode* first = scriptNode("a1", "Sleep(100); PrintBuf2(PPAID, 'first ' + PPAID)");
    MemoNode* second = scriptNode("a2", "PrintBuf2(PPAID, 'second ' + PPAID)");
    int secondResult = 1;
    QTimer::singleShot(20, window.get(), [&] { secondResult = execute(second); });
    ASSERT_EQ(execute(first), 0);
    EXPECT_EQ(secondResult, 0);
    EXPECT_THAT(window->scriptHost().runnerNames(), ElementsAre("PPA00", "PPA01"));
    MemoNode* secondChild = nullptr;
    MemoNode* firstChild = nullptr;
    for (int i = 0; i < holder("A")->count_(); ++i) {
        MemoNode* n = holder("A")->at_(i);
        if (n->memo == std::vector<std::string>{"second PPA01"}) secondChild = n;
        if (n->memo == std::vector<std::string>{"first PPA00"}) firstChild = n;
    }
    ASSERT_NE(secondChild, nullptr);
    ASSERT_NE(firstChild, nullptr);
    EXPECT_EQ(secondChild->getField_("ParentNodeID"), second->getField_("UID"));
    EXPECT_EQ(firstChild->getField_("ParentNodeID"), first->getField_("UID"));
}

TEST_F(ScriptHostTest, AScriptNodeWhilePP1RunsStopsPP1AndMakesNothing) {
    MemoNode* script = scriptNode("a1", "PrintBuf('never')");
    const int before = holder("A")->count_();
    int executed = 0;
    std::string status;
    QTimer::singleShot(20, window.get(), [&] {
        executed = execute(script);
        status = window->statusMessage();
    });
    EXPECT_EQ(eval("while 1 do Sleep(10); Print('never')"), -1);
    EXPECT_EQ(executed, TFormMainScript::kScriptRunsAlready);
    EXPECT_EQ(status, "Failure: PPA Running Now.");
    EXPECT_EQ(holder("A")->count_(), before);
    EXPECT_EQ(window->statusMessage(), "ERROR: Eval");
    EXPECT_TRUE(logContains(utf8ToSjis("実行を中断しました")));
}

TEST_F(ScriptHostTest, BreakStopsARun) {
    QTimer::singleShot(30, window.get(), [&] { runCommand(*window, "Break"); });
    EXPECT_EQ(eval("while 1 do ProcessMessages"), -1);
    EXPECT_EQ(window->statusMessage(), "ERROR: Eval");
    EXPECT_FALSE(window->scriptHost().isAnyRunning());
}

// Counts the close events that reach the window.
class CloseCounter : public QObject {
  public:
    int seen = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Close) ++seen;
        return false;
    }
};

TEST_F(ScriptHostTest, ClosingDuringARunStopsItAndClosesAfterwards) {
    CloseCounter counter;
    bool runningAtClose = false;
    QTimer::singleShot(30, window.get(), [&] {
        runningAtClose = window->scriptHost().isAnyRunning();
        window->close();
    });
    EXPECT_EQ(eval("while 1 do Sleep(5)"), -1);
    EXPECT_TRUE(runningAtClose);
    // The close comes once the run is over, with its usual question.
    prompter->answer(Answer::No, "Should I Save a MemoHolder");
    window->installEventFilter(&counter);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.seen, 1);
    window->removeEventFilter(&counter);
}

}  // namespace
}  // namespace zel
