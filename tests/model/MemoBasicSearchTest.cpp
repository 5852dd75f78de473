// Record search, replace and grep: byte-wise Scan and Grep, Replace on
// character boundaries, the change log and the labelled grep lines.

#include <gtest/gtest.h>

#include "model/MemoBasic.h"
#include "model/MemoNode.h"
#include "support/HolderTestSupport.h"

namespace zel {
namespace {

TEST(RecordSearch, GrepLabelsSectionsAndNumbersLines) {
    MemoBasic record;
    record.memo = {"abc", "xyz", "abd"};
    record.comment = {"no", "ab here"};
    record.fields.append("Key=\"AB\"");
    std::vector<std::string> result;
    EXPECT_TRUE(record.grep_("ab", false, result, true, true, true, true));
    EXPECT_EQ(result,
              (std::vector<std::string>{"Memo:000001:      1: abc", "Memo:000002:      3: abd",
                                        "Comment:000001:      2: ab here"}));
    result.clear();
    EXPECT_TRUE(record.grep_("ab", true, result, true, false, false, false));
    EXPECT_EQ(result, (std::vector<std::string>{"Fields:000001:      1: Key=\"AB\""}));
    EXPECT_TRUE(record.grep_("NOName", true, result, false, false, false, true));
    EXPECT_EQ(result.back(), "Name:noname");
    EXPECT_FALSE(record.grep_("", true, result, true, true, true, true));
}

TEST(RecordSearch, ReplaceLogsEveryChangedLine) {
    MemoNode node;
    node.memo = {"Cat cat", "dog", "CAT"};
    node.comment = {"cat"};
    node.fields.append("Pet=\"cat\"");
    std::vector<std::string> log;
    EXPECT_FALSE(node.replace_("cat", "dog", log, true, true, true, false, true));
    EXPECT_EQ(node.memo, (std::vector<std::string>{"dog dog", "dog", "dog"}));
    EXPECT_EQ(node.fields[0], "Pet=\"dog\"");
    EXPECT_EQ(log, (std::vector<std::string>{"replace Memo 000001", "replace Memo 000003",
                                             "replace Comment 000001", "replace Field 000001"}));
    log.clear();
    node.replace_("dog", "x", log, false, false, true, false, false);
    EXPECT_EQ(node.memo[0], "x x");
    node.replace_("", "x", log, true, true, true, true, true);
    EXPECT_EQ(log.size(), 3u);
}

TEST(RecordSearch, ReplaceNeverSplitsDoubleByteCharacters) {
    MemoNode node;
    node.memo = {
        "\x83\x41"
        "A"};  // ア then A
    std::vector<std::string> log;
    node.replace_("A", "b", log, false, false, true, false, false);
    EXPECT_EQ(node.memo[0],
              "\x83\x41"
              "b");
}

// ゲ is 83 51; its second byte is the code of "Q". Folding must not turn it
// into a letter.
void expectKanaNotMatchedByLetter(MemoNode& node) {
    node.memo.push_back("\x83\x51");
    node.comment.push_back("\x83\x51");
    node.fields.append("K=\x83\x51");
    for (bool ignoreCase : {true, false})
        EXPECT_FALSE(node.contains_("q", ignoreCase, true, true, true, true));
    EXPECT_FALSE(node.contains_("Q", true, true, true, true, true));
    // Scan is byte-wise: case-sensitive, "Q" is the second byte of ゲ.
    for (int section = 0; section < 3; ++section)
        EXPECT_TRUE(node.contains_("Q", false, section == 0, section == 1, section == 2, false));
    EXPECT_TRUE(node.contains_("\x83\x51", true, false, false, true, false));
    node.memo.push_back("Full \x82\x60");  // full-width Ａ
    EXPECT_TRUE(node.contains_("full \x82\x81", true, false, false, true, false));
    EXPECT_FALSE(node.contains_("full \x82\x81", false, false, false, true, false));
}

TEST(RecordSearch, ContainsFoldsShiftJisForATextNode) {
    MemoNode node;
    expectKanaNotMatchedByLetter(node);
}

TEST(RecordSearch, ContainsFoldsShiftJisForABinaryNode) {
    MemoNode node;
    node.setBlankImage_();
    expectKanaNotMatchedByLetter(node);
}

TEST(RecordSearch, ContainsFoldsShiftJisForAUrlNode) {
    MemoNode node;
    node.putField_("Content-Transfer-Encoding", "\"URL\"");
    node.putField_("Filename", "\"http://host/\"");
    expectKanaNotMatchedByLetter(node);
}

TEST(RecordSearch, ContainsFoldsShiftJisForALinkedNode) {
    MemoNode node;
    node.putField_("FlagLink", "\"true\"");
    expectKanaNotMatchedByLetter(node);
}

TEST(RecordSearch, GrepNumbersHitsPerSectionAndLinesInTheSection) {
    MemoHolder holder;
    MemoNode* node = test::addTextNode(holder, "abc list");
    node->memo.assign(40, "-");
    node->memo.setLine(2, "abc here");
    node->memo.setLine(39, "more abc");
    std::vector<std::string> result;
    EXPECT_TRUE(node->grep_("abc", false, result, true, true, true, true));
    EXPECT_EQ(result, (std::vector<std::string>{"Name:abc list", "Memo:000001:      3: abc here",
                                                "Memo:000002:     40: more abc"}));
}

// アイ is 83 41 83 43: the bytes 41 83 straddle the two characters.
TEST(RecordSearch, AStraddlingKeywordIsFoundByScanAndGrepButNotReplaced) {
    MemoNode node;
    node.memo = {"\x83\x41\x83\x43"};
    const std::string straddling = "\x41\x83";
    EXPECT_TRUE(node.contains_(straddling, false, false, false, true, false));
    std::vector<std::string> lines;
    EXPECT_TRUE(node.grep_(straddling, false, lines, false, false, true, false));
    EXPECT_EQ(lines.size(), 1u);
    std::vector<std::string> log;
    node.replace_(straddling, "x", log, true, true, true, true, false);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(node.memo[0], "\x83\x41\x83\x43");
}

TEST(RecordSearch, OnlyScanMatchesAcrossLinesAndOnlyWithALineBreakInTheKeyword) {
    MemoNode node;
    node.memo = {"ab", "cd"};
    node.fields.append("k=\"1\"");
    node.fields.append("m=\"2\"");
    EXPECT_TRUE(node.contains_("b\r\nc", false, false, false, true, false));
    EXPECT_FALSE(node.contains_("bc", false, false, false, true, false));
    EXPECT_TRUE(node.contains_("\"1\"\r\nM", true, true, false, false, false));
    std::vector<std::string> out;
    EXPECT_FALSE(node.grep_("b\r\nc", false, out, true, true, true, true));
    node.replace_("b\r\nc", "x", out, true, true, true, true, false);
    EXPECT_TRUE(out.empty());
}

TEST(RecordSearch, ReplaceLogsTheNameTheNodeActuallyReceived) {
    MemoHolder holder;
    test::addTextNode(holder, "xyz1");
    MemoNode* node = test::addTextNode(holder, "abc1");
    std::vector<std::string> log;
    node->replace_("abc", "xyz", log, false, false, false, true, false);
    EXPECT_EQ(node->getName_(), "xyz2");
    EXPECT_EQ(log, (std::vector<std::string>{"replace name xyz2"}));

    // A name the holder refuses (empty) leaves no entry.
    log.clear();
    node->replace_("xyz2", "", log, false, false, false, true, false);
    EXPECT_EQ(node->getName_(), "xyz2");
    EXPECT_TRUE(log.empty());
}

TEST(RecordSearch, ReplaceChangesFieldKeysButNeverTakesAFieldsEqualsSign) {
    test::CapturedLog captured;
    MemoNode node;
    node.fields.append("Color=\"clRed\"");
    node.fields.append("Note=\"a=b\"");
    std::vector<std::string> log;
    node.replace_("color", "Colour", log, true, false, false, false, true);
    EXPECT_EQ(node.fields[0], "Colour=\"clRed\"");
    node.replace_("=", "", log, true, false, false, false, false);
    EXPECT_EQ(node.fields[0], "Colour=\"clRed\"");
    EXPECT_EQ(node.fields[1], "Note=\"a=b\"");
    EXPECT_EQ(log, (std::vector<std::string>{"replace Field 000001"}));
    EXPECT_EQ(captured.lines.size(), 2u);
}

}  // namespace
}  // namespace zel
