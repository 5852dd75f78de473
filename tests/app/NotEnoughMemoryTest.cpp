// A command that runs out of memory ends with "ERROR: not enough memory";
// the window, its memo file and the holder it worked on go on.

#include <gtest/gtest.h>

#include "app/AppTestSupport.h"
#include "app/commands/CommandTable.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "support/MemoryLimitedChild.h"

namespace zel {
namespace {

using Names = std::vector<std::string>;

class NotEnoughMemoryTest : public AppTest {};

TEST_F(NotEnoughMemoryTest, ACommandOutOfMemoryEndsWithItsMessageAndTheWindowGoesOn) {
    openMemoFile({{"A", {"a1", "a2", "a3", "a4", "a5", "a6", "a7", "a8", "a9"}}});
    // 64 MB of memo text beside the node shown: copying the holder needs as
    // much again, more than the child may take.
    MemoHolder* holder = window->getCurHolder();
    for (int i = 1; i < holder->count_(); ++i)
        holder->at_(i)->memo = {std::string(std::size_t{8} << 20, 'x')};
    const test::ChildEnd end = test::runWithMemoryLimit(std::size_t{24} << 20, [&] {
        int wrong = 0;
        if (runCommand(*window, "UICopyHolder") != kNotEnoughMemory) wrong |= 1;
        if (window->statusMessage() != "ERROR: not enough memory") wrong |= 2;
        if (window->isDoing() || holderNames() != Names{"A"} || holder->count_() != 9) wrong |= 4;
        if (!logContains("ERROR: not enough memory in UICopyHolder")) wrong |= 8;
        if (runCommand(*window, "UINewNode") != 0 || holder->count_() != 10) wrong |= 16;
        return wrong;
    });
    EXPECT_TRUE(end.exited) << "ended by signal " << end.signal;
    EXPECT_EQ(end.status, 0) << "failed checks (bits): " << end.status;
}

}  // namespace
}  // namespace zel
