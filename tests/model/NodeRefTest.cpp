// Weak node references answer while the node lives and never after, even when
// a new node takes the old one's slot or address.

#include <memory>

#include <gtest/gtest.h>

#include "model/MemoNode.h"
#include "model/NodeRef.h"

namespace zel {
namespace {

TEST(NodeRef, AnswersOnlyWhileTheNodeLives) {
    auto node = std::make_unique<MemoNode>();
    NodeRef ref(node.get());
    EXPECT_EQ(ref.get(), node.get());
    node.reset();
    EXPECT_EQ(ref.get(), nullptr);

    // The freed slot goes to the next node; the old reference stays dead.
    auto next = std::make_unique<MemoNode>();
    EXPECT_EQ(ref.get(), nullptr);
    EXPECT_EQ(NodeRef(next.get()).get(), next.get());
    EXPECT_FALSE(NodeRef(next.get()) == ref);
}

TEST(NodeRef, EmptyReferencesAnswerNothing) {
    EXPECT_EQ(NodeRef().get(), nullptr);
    EXPECT_EQ(NodeRef(nullptr).get(), nullptr);
}

}  // namespace
}  // namespace zel
