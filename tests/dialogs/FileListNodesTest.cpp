#include "dialogs/FileListNodes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "dialogs/DialogTestSupport.h"
#include "text/Sjis.h"

namespace zel {
namespace {

using test::addHolder;
using test::nodeNamed;
using test::nodeNames;

TEST(FileListNodes, DefaultOptionsNameByFileNameAndApplyTheTemplate) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "H", {});
    FileListNodeOptions options;
    options.templateLines = defaultFileListTemplate();
    const FileListNodesMade made =
        makeNodesFromLines(holder, {"C:\\a\\b.txt", "   ", " /x/y/c.txt "}, options);
    EXPECT_EQ(made.count, 2);
    EXPECT_EQ(nodeNames(holder), (std::vector<std::string>{"b.txt", "c.txt"}));
    EXPECT_EQ(made.last, &nodeNamed(holder, "c.txt"));
    const MemoNode& b = nodeNamed(holder, "b.txt");
    EXPECT_EQ(b.getField_("Filename"), "\"C:\\a\\b.txt\"");
    EXPECT_EQ(b.getField_("FlagLink"), "\"true\"");
    EXPECT_EQ(b.getField_("Created"), "\"20040102\"");
    EXPECT_EQ(b.getField_("Modified"), "\"20040102\"");
    EXPECT_EQ(b.fields.indexOf("Link"), -1);
    EXPECT_TRUE(holder.changed);

    MemoHolder& untouched = addHolder(file, "E", {});
    EXPECT_EQ(makeNodesFromLines(untouched, {"", " "}, options).count, 0);
    EXPECT_FALSE(untouched.changed);
}

TEST(FileListNodes, CopiesOfThePatternLoseFieldsTheTemplateEmpties) {
    MemoFile file;
    MemoHolder& holder =
        addHolder(file, "H", {{"*", {"Color=\"red\"", "Kind=\"file\""}}, {"here", {}}});
    holder.setCurrent_(&nodeNamed(holder, "here"));
    FileListNodeOptions options;
    options.nameFromFileName = false;
    options.setFilename = false;
    options.setLink = true;
    options.templateLines = {"Color", "=orphan", "bad<key=\"x\"", "Note= as typed "};
    FileListNodeRun run;
    run.pattern = &nodeNamed(holder, "*");
    makeNodesFromLines(holder, {"/p/one", "/p/one"}, options, run);
    // Placed beside the current node, which stays current.
    EXPECT_EQ(nodeNames(holder), (std::vector<std::string>{"*", "/p/one", "/p/one_01", "here"}));
    EXPECT_EQ(holder.getCurrent_(), &nodeNamed(holder, "here"));
    const MemoNode& copy = nodeNamed(holder, "/p/one_01");
    EXPECT_EQ(copy.fields.indexOf("Color"), -1);
    EXPECT_EQ(copy.getField_("Kind"), "\"file\"");
    EXPECT_EQ(copy.getField_("Link"), "\"/p/one\"");
    EXPECT_EQ(copy.getField_("Note"), " as typed");
    EXPECT_EQ(copy.fields.indexOf("bad<key"), -1);
    EXPECT_EQ(copy.fields.indexOf(""), -1);
}

TEST(FileListNodes, ASortedHolderIsSortedOnceAtTheEnd) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "H", {{"m", {}}});
    holder.setSort_(true);
    MemoNode* current = &nodeNamed(holder, "m");
    holder.setCurrent_(current);
    std::vector<std::string> lines;
    for (int i = 2000; i > 0; --i) lines.push_back("/d/n" + std::to_string(i));
    int sorts = 0;
    FileListNodeRun run;
    run.reorder = [&](MemoHolder& h) {
        ++sorts;
        h.nodes->keepOrder_();
    };
    EXPECT_EQ(makeNodesFromLines(holder, lines, {}, run).count, 2000);
    EXPECT_EQ(sorts, 1);
    const std::vector<std::string> names = nodeNames(holder);
    ASSERT_EQ(names.size(), 2001u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end(),
                               [](const auto& a, const auto& b) { return compareText(a, b) < 0; }));
    EXPECT_TRUE(holder.getSort_());
    EXPECT_EQ(holder.currentNode, current);
}

TEST(FileListNodes, BreakKeepsWhatWasMade) {
    MemoFile file;
    MemoHolder& holder = addHolder(file, "H", {});
    std::vector<std::string> lines(500, "/x/a");
    FileListNodeRun run;
    run.breakRequested = [] { return true; };
    const FileListNodesMade made = makeNodesFromLines(holder, lines, {}, run);
    EXPECT_TRUE(made.broken);
    EXPECT_EQ(made.count, 49);
    EXPECT_EQ(holder.count_(), 49);
}

}  // namespace
}  // namespace zel
