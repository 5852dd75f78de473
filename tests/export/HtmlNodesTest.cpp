// The node snapshot of holders outside the window: list order, or the tree
// by ParentNodeID for a tree holder.

#include "export/HtmlNodes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "export/ExportTestSupport.h"

namespace zel {
namespace {

using test::PageFixture;
using ::testing::ElementsAre;

std::vector<std::string> shape(const PageNodes& nodes) {
    std::vector<std::string> out;
    for (const auto& n : nodes) out.push_back(n.name + ":" + std::to_string(n.level));
    return out;
}

TEST(PageNodesOf, ListOrderAtLevelMinusOneUnlessTheHolderIsATree) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder(
        "h", {{"c", {}, {{"ParentNodeID", "\"p\""}}}, {"p", {}, {{"UID", "\"P\""}}}});
    EXPECT_THAT(shape(pageNodesOf(holder)), ElementsAre("c:-1", "p:-1"));
    holder.putField_("ModeNodesMngr", "\"TreeView\"");
    EXPECT_THAT(shape(pageNodesOf(holder)), ElementsAre("p:0", "c:1"));
}

TEST(PageNodesOf, DepthFirstWithSiblingsInListOrderAndBadLinksAtTheTop) {
    PageFixture fixture;
    MemoHolder& holder =
        fixture.holder("h", {{"a", {}, {{"UID", "\"A\""}}},
                             {"a2", {}, {{"UID", "\"A2\""}, {"ParentNodeID", "\"a\""}}},
                             {"lost", {}, {{"ParentNodeID", "\"nobody\""}}},
                             {"a1", {}, {{"UID", "\"A1\""}, {"ParentNodeID", "\"A\""}}},
                             {"a2x", {}, {{"ParentNodeID", "\"A2\""}}},
                             {"self", {}, {{"UID", "\"S\""}, {"ParentNodeID", "\"S\""}}},
                             {"x", {}, {{"UID", "\"X\""}, {"ParentNodeID", "\"Y\""}}},
                             {"y", {}, {{"UID", "\"Y\""}, {"ParentNodeID", "\"X\""}}}});
    holder.putField_("ModeNodesMngr", "\"TreeView\"");
    // The loop of x and y is cut at one link, so both are shown once.
    EXPECT_THAT(shape(pageNodesOf(holder)),
                ElementsAre("a:0", "a2:1", "a2x:2", "a1:1", "lost:0", "self:0", "y:0", "x:1"));
}

}  // namespace
}  // namespace zel
