// The MarkNode menu: marking every node, and deleting, copying and moving
// the marked nodes.

#include "app/AppTestSupport.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoHolderUI.h"
#include "views/MemoNodeUI.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class MarkCommandsTest : public AppTest {
  protected:
    void mark(std::initializer_list<const char*> names) {
        for (const char* name : names) setNodeMark(*window->getCurHolder()->byName_(name), true);
    }
    Names namesOf(const MemoHolder* shown) {
        Names names;
        for (int i = 0; i < shown->count_(); ++i) names.push_back(shown->at_(i)->getName_());
        return names;
    }
};

TEST_F(MarkCommandsTest, MarkingEveryNodeUnmarkingAndReversing) {
    openMemoFile({{"A", {"a", "b", "c"}}});
    MemoHolder* shown = window->getCurHolder();
    EXPECT_EQ(window->UIMarkAll(), 3);
    EXPECT_EQ(shown->countMarked_(), 3);
    EXPECT_TRUE(shown->changed);
    window->UIUnMarkAll();
    EXPECT_EQ(shown->countMarked_(), 0);
    mark({"b"});
    window->UIReverseMarks();
    EXPECT_FALSE(shown->byName_("b")->isMarked_());
    EXPECT_TRUE(shown->byName_("a")->isMarked_());
    EXPECT_EQ(shown->countMarked_(), 2);
}

TEST_F(MarkCommandsTest, DeletingMarkedNodesFillsTheTrashAndKeepsOneNode) {
    openMemoFile({{"A", {"a", "b", "c", "d"}}});
    window->setCurMemoNode_(holder("A")->byName_("b"));
    mark({"b", "c"});
    EXPECT_EQ(window->UIDeleteMarkNodes(), 2);
    EXPECT_EQ(namesOf(holder("A")), (Names{"a", "d"}));
    EXPECT_EQ(window->getCurMemoNode(), holder("A")->byName_("d")) << "first unmarked after";
    EXPECT_EQ(namesOf(holder("Trush")), (Names{"b", "c"}));
    EXPECT_EQ(window->statusMessage(), "Done 2 Nodes deleted.");

    window->UIMarkAll();
    EXPECT_EQ(window->UIDeleteMarkNodes(), 2);
    EXPECT_EQ(holder("A")->count_(), 1) << "an emptied holder gets a new node";
    EXPECT_FALSE(holder("A")->at_(0)->isMarked_());
    EXPECT_EQ(holder("Trush")->count_(), 4);
    EXPECT_EQ(window->UIDeleteMarkNodes(), 0);
    EXPECT_EQ(window->statusMessage(), "No Mark MemoNode.");
}

TEST_F(MarkCommandsTest, CopiesMayGoIntoTheSourceMovesMayNot) {
    openMemoFile({{"A", {"a", "b", "c"}}, {"B", {"x"}}});
    mark({"a", "c"});
    prompter->chooseHolder("A");
    EXPECT_EQ(window->UICopyMarksTo(), 2);
    EXPECT_EQ(holder("A")->count_(), 5);
    EXPECT_EQ(window->getCurMemoNode(), holder("A")->at_(4)) << "the last copy";

    prompter->chooseHolder("A");
    EXPECT_EQ(window->UIMoveMarksTo(), -1);
    EXPECT_EQ(window->statusMessage(), "Source Holder is Distination Holder !");

    prompter->chooseHolder("B");
    EXPECT_EQ(window->UIMoveMarksTo(), 4);
    EXPECT_EQ(namesOf(holder("A")), (Names{"b"}));
    EXPECT_EQ(holder("B")->count_(), 5);
    EXPECT_EQ(window->getCurHolder(), holder("B"));
    EXPECT_TRUE(window->getCurMemoNode()->isMarked_()) << "moved nodes stay marked";

    prompter->cancelHolderChoice();
    window->changeHolder_(holder("B"));
    EXPECT_EQ(window->UIMoveMarksTo(), -1);
    EXPECT_EQ(holder("B")->count_(), 5) << "a cancelled choice moves nothing";
}

TEST_F(MarkCommandsTest, MarkedNodesGatherAfterTheCurrentNodeInTheirOrder) {
    openMemoFile({{"A", {"a", "b", "c", "d", "e"}}});
    window->setCurMemoNode_(holder("A")->byName_("c"));
    mark({"a", "e", "b"});
    EXPECT_EQ(window->UIMoveMarksToSelf(), 3);
    EXPECT_EQ(namesOf(holder("A")), (Names{"c", "a", "b", "e", "d"}));
}

TEST_F(MarkCommandsTest, SaveEachOverWritesCheckedNodesToTheirFilesAndCountsTheWrites) {
    openMemoFile({{"A", {"a", "b", "c", "d", "e"}}});
    holder("A")->byName_("a")->putField_("filename", "\"" + path("a.txt") + "\"");
    holder("A")->byName_("b")->putField_("Filename", "\"" + path("b.txt") + "\"");
    holder("A")->byName_("c")->putField_("Filename", "\".\\c.txt\"");
    holder("A")->byName_("d")->putField_("Filename", "\"" + path("a.txt/d.txt") + "\"");
    mark({"a", "c", "d", "e"});
    EXPECT_EQ(window->UISaveMarksEach(), 2) << "a and c written; d fails; e has no file";
    EXPECT_EQ(readText("a.txt"), "memo of a\r\n") << "the field name in any case";
    EXPECT_EQ(readText("c.txt"), "memo of c\r\n") << "beside the holder file";
    EXPECT_FALSE(exists("b.txt")) << "unmarked";
    EXPECT_TRUE(logContains("ERROR: could not write " + path("a.txt/d.txt")));
    EXPECT_TRUE(window->statusMessage().starts_with("ERROR")) << window->statusMessage();
}

}  // namespace
}  // namespace zel
