#pragma once
// What the merge tests share: holders built node by node, the three versions
// of a holder as a merge sees them (ours and theirs begin as copies of the
// base, through its file text), and the facts compared.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "merge/FileMerge.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "support/HolderTestSupport.h"
#include "text/TextHelpers.h"

namespace zel::test {

// A node with a UID (none when `uid` is empty) and memo lines.
inline MemoNode* addNode(MemoHolder& holder, std::string_view name, std::string_view uid,
                         std::vector<std::string> memo = {}) {
    MemoNode* node = addTextNode(holder, name, std::move(memo));
    if (!uid.empty()) node->putField_("UID", wrapQuotes(uid));
    return node;
}

inline std::vector<std::string> nodeNames(const MemoHolder& holder) {
    std::vector<std::string> names;
    for (int i = 0; i < holder.count_(); ++i) names.push_back(holder.at_(i)->getName_());
    return names;
}

inline std::vector<std::string> memoOf(const MemoNode& node) {
    return {node.memo.begin(), node.memo.end()};
}

// A holder as its file would bring it back.
inline void copyThroughText(MemoHolder& from, HolderCopy& to) {
    std::string error;
    ASSERT_TRUE(readHolderCopy(holderFileText_(from), "copy", to, error)) << error;
}

// Markup the reader refuses: an element closed by another's end tag.
inline constexpr std::string_view kBrokenHolder =
    "<Holder name=\"w\"><Record name=\"a\">x<BR/></Holder></Record>";

class ThreeVersions {
  public:
    ThreeVersions() {
        draft_.holder = draft_.file.createHolder_(-1);
        draft_.holder->putName_as_("work");
    }

    // The holder being built; once branched, the base as its file brings it back.
    MemoHolder& b() { return base_ ? *base_->holder : *draft_.holder; }
    MemoHolder& o() { return *ours_->holder; }
    MemoHolder& t() { return *theirs_->holder; }

    // The base holds a (UID U1, memo a1) and b (U2, b1); ours and theirs too.
    void branchTwoNodes() {
        addNode(b(), "a", "U1", {"a1"});
        addNode(b(), "b", "U2", {"b1"});
        branch();
    }

    // Base, ours and theirs become what the holder built so far is.
    void branch() {
        for (auto* version : {&base_, &ours_, &theirs_}) {
            *version = std::make_unique<HolderCopy>();
            copyThroughText(*draft_.holder, **version);
        }
    }

  private:
    HolderCopy draft_;
    std::unique_ptr<HolderCopy> base_, ours_, theirs_;
};

}  // namespace zel::test
