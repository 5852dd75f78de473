// New-node rules, node list operations and copying of holders.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "model/MemoHolder.h"
#include "support/HolderTestSupport.h"

namespace zel {
namespace {

using test::addTextNode;
using ::testing::ElementsAre;
using ::testing::MatchesRegex;

std::vector<std::string> names(const MemoHolder& holder) {
    std::vector<std::string> list;
    for (int i = 0; i < holder.count_(); ++i) list.push_back(holder.at_(i)->getName_());
    return list;
}

TEST(NewNode, TemplateStarIsClonedWithFreshCreatedAndUid) {
    MemoHolder holder;
    MemoNode* pattern = addTextNode(holder, "*", {"template text"});
    pattern->putField_("Created", "\"20000101 000000000\"");
    pattern->putField_("UID", "\"20000101_000000000_00000001\"");
    pattern->putField_("Color", "\"clRed\"");

    MemoNode* made = holder.makeNode_();
    EXPECT_NE(made, pattern);
    EXPECT_EQ(made->memo, pattern->memo);
    EXPECT_EQ(made->getField_("Color"), "\"clRed\"");
    EXPECT_THAT(made->getField_("Created"), MatchesRegex("\"[0-9]{8} [0-9]{9}\""));
    EXPECT_NE(made->getField_("Created"), pattern->getField_("Created"));
    EXPECT_NE(made->getField_("UID"), pattern->getField_("UID"));
    EXPECT_EQ(holder.getCurrent_(), nullptr);  // making a node does not select it
}

TEST(NewNode, WithoutTemplateTheNodeIsEmptyAndGetsNoStamps) {
    MemoHolder holder;
    holder.putField_("NewNodeOption", "\"Current\"");
    holder.putField_("NewNodeName", "\"Other\"");
    MemoNode* made = holder.makeNode_();
    EXPECT_EQ(made->getName_(), "*New*");
    EXPECT_TRUE(made->fields.empty());
    EXPECT_TRUE(made->memo.empty());

    // "Plain" ignores even a "*" node.
    addTextNode(holder, "*", {"template"});
    holder.putField_("NewNodeOption", "\"plain\"");
    EXPECT_TRUE(holder.makeNode_()->memo.empty());
}

TEST(NewNode, SelectUsesTheNamedNodeAndCurrentTheCurrentOne) {
    MemoHolder holder;
    addTextNode(holder, "*", {"star"});
    MemoNode* chosen = addTextNode(holder, "form", {"form"});
    MemoNode* current = addTextNode(holder, "today", {"today"});
    holder.putField_("NewNodeName", "\"x\"");
    holder.putField_("NewNodeOption", "\"Select\"");
    holder.putField_("SelectNodeName", "\"FORM\"");
    EXPECT_EQ(holder.makeNode_()->memo, chosen->memo);
    holder.putField_("SelectNodeName", "\"missing\"");
    EXPECT_THAT(holder.makeNode_()->memo, ElementsAre("star"));
    holder.putField_("NewNodeOption", "\"CURRENT\"");
    holder.setCurrent_(current);
    EXPECT_EQ(holder.makeNode_()->memo, current->memo);
}

TEST(NewNode, NumberNamesCountTheNodesAndStayUnique) {
    MemoHolder holder;
    holder.putField_("NewNodeName", "\"Number\"");
    for (int i = 0; i < 11; ++i) addTextNode(holder, "n" + std::to_string(i));
    addTextNode(holder, "00012");
    EXPECT_EQ(holder.makeNode_()->getName_(), "00013");  // 12 nodes: "00012" is taken

    holder.putField_("FormatNumber", "\"No.%3d\"");
    EXPECT_EQ(holder.makeNode_()->getName_(), "No. 13");
}

TEST(NewNode, GlossaryNamesAfterTheCurrentNodeAndLandsBeforeIt) {
    MemoHolder holder;
    holder.putField_("NewNodeName", "\"Glossary\"");
    for (const char* name : {"a", "b", "c"}) addTextNode(holder, name);
    MemoNode* apple = addTextNode(holder, "apple");
    addTextNode(holder, "z");
    holder.setCurrent_(apple);
    EXPECT_EQ(holder.makeNode_()->getName_(), "apple_03");
    EXPECT_THAT(names(holder), ElementsAre("a", "b", "c", "apple_03", "apple", "z"));
}

TEST(NewNode, DailyNamesFollowFormatDate) {
    MemoHolder holder;
    EXPECT_THAT(holder.makeNode_()->getName_(), MatchesRegex("[0-9]{8}"));
    holder.putField_("FormatDate", "\"yyyy-mm-dd hh:nn\"");
    EXPECT_THAT(holder.makeNode_()->getName_(),
                MatchesRegex("[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}"));
}

TEST(NodeList, SameNameKeepsDuplicatesAndSortedAddsKeepOrder) {
    MemoHolder same;
    same.putField_("FlagSameName", "\"true\"");
    addTextNode(same, "a");
    addTextNode(same, "a");
    EXPECT_THAT(names(same), ElementsAre("a", "a"));

    MemoHolder sorted;
    sorted.setSort_(true);
    sorted.setAscending_(false);
    EXPECT_EQ(sorted.getField_("flagAscending"), "\"false\"");
    for (const char* name : {"c", "a", "b"}) addTextNode(sorted, name);
    EXPECT_THAT(names(sorted), ElementsAre("c", "b", "a"));
}

TEST(NodeList, NavigationAndRemovalAtTheEdges) {
    MemoHolder holder;
    EXPECT_EQ(holder.first_(), nullptr);
    EXPECT_EQ(holder.last_(), nullptr);
    MemoNode* a = addTextNode(holder, "a");
    MemoNode* b = addTextNode(holder, "b");
    EXPECT_EQ(holder.previous_(a), nullptr);
    EXPECT_EQ(holder.next_(b), nullptr);
    EXPECT_EQ(holder.next_(a), b);
    EXPECT_EQ(holder.at_(2), nullptr);
    EXPECT_EQ(holder.byName_("B"), b);

    EXPECT_EQ(holder.setCurrent_(b), 1);
    int index = -2;
    std::unique_ptr<MemoNode> taken = holder.removeNode_(b, &index);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(taken.get(), b);  // handed over, not destroyed
    EXPECT_EQ(holder.getCurrent_(), nullptr);
    EXPECT_EQ(holder.removeNode_(b, &index), nullptr);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(holder.previous_(b), nullptr);  // not in the list
}

TEST(NodeList, FieldKeysAndValuesAreCollectedOnce) {
    MemoHolder holder;
    MemoNode* a = addTextNode(holder, "a");
    MemoNode* b = addTextNode(holder, "b");
    a->putField_("Color", "\"clRed\"");
    a->putField_(" Price ", "\"1\"");
    b->putField_("color", "\"clRed\"");
    b->putField_("Price", "\"\"");
    b->fields.append("no key here");
    std::vector<std::string> keys{"PRICE"};
    EXPECT_EQ(holder.collectFieldKeys_(keys), 1);
    EXPECT_THAT(keys, ElementsAre("PRICE", "Color"));
    std::vector<std::string> values;
    holder.collectFieldValues_("color", values);
    EXPECT_THAT(values, ElementsAre("clRed"));
}

TEST(HolderCopy, CopiesNodesSettingsAndTheCurrentPlace) {
    MemoHolder source;
    source.putField_("ModeNodesMngr", "\"TreeView\"");
    source.putField_("FlagSameName", "\"true\"");
    source.countSave = 7;
    addTextNode(source, "b", {"one"});
    addTextNode(source, "a", {"two"});
    addTextNode(source, "a", {"three"});
    source.setSort_(true);  // set after adding: the list is not sorted
    source.setCurrent_(source.at_(1));

    auto copy = std::unique_ptr<MemoHolder>(static_cast<MemoHolder*>(source.deepCopy().release()));
    EXPECT_EQ(test::describeNodes(*copy), test::describeNodes(source));
    EXPECT_EQ(copy->getListMode_(), "\"Nodes\"");
    EXPECT_TRUE(copy->getSort_());
    EXPECT_EQ(copy->countSave, 7);
    EXPECT_EQ(copy->indexOf_(copy->getCurrent_()), 1);
    EXPECT_NE(copy->at_(0), source.at_(0));
    EXPECT_EQ(copy->at_(0)->owner, copy.get());
}

}  // namespace
}  // namespace zel
