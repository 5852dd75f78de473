// Fields, record markup and record search of the memo record.

#include <gtest/gtest.h>

#include "model/MemoBasic.h"
#include "model/MemoNode.h"
#include "model/RecordTestSupport.h"

namespace zel {
namespace {

TEST(RecordFields, PutAppendsReplacesInPlaceAndDeletesOnEmpty) {
    MemoBasic record;
    EXPECT_EQ(record.putField_("Color", ""), 0);
    EXPECT_EQ(record.fields[0], "Color=");  // absent key with empty value still appends
    EXPECT_EQ(record.putField_("UID", "\"1\""), 1);
    EXPECT_EQ(record.putField_("color", "\"clRed\""), 0);
    EXPECT_EQ(record.fields[0], "color=\"clRed\"");
    EXPECT_EQ(record.getField_("COLOR"), "\"clRed\"");
    EXPECT_EQ(record.putField_("Color", ""), 0);
    ASSERT_EQ(record.fields.size(), 1u);
    EXPECT_EQ(record.fields[0], "UID=\"1\"");
    EXPECT_EQ(record.removeField_("uid"), "UID=\"1\"");
    EXPECT_EQ(record.removeField_("uid"), "");
    record.fields.append("a=b=c");  // the key ends at the first "="
    EXPECT_EQ(record.getField_("A"), "b=c");
}

TEST(RecordFields, FlagsCompareQuotedTextAndFollowEnclosingRecords) {
    MemoBasic file;
    MemoBasic holder(&file);
    MemoNode node(&holder);
    node.putField_("FlagReadOnly", "true");  // unquoted is not the flag
    EXPECT_FALSE(node.isReadOnlyEffective_());
    file.setReadOnly_(true);
    EXPECT_TRUE(node.isReadOnlyEffective_());
    EXPECT_FALSE(holder.isReadOnly_());

    EXPECT_EQ(node.getColor_(), 0xFFFFFFu);  // absent means white
    node.putField_("Color", "\"clRed\"");
    EXPECT_EQ(node.getColor_(), 0x0000FFu);
}

TEST(RecordMarkup, FieldLineEscapesUnquotesAndUnderscoresKeys) {
    FieldList fields;
    fields.append("Filename=\"C:\\a b.txt\"");
    fields.append("no equals here");
    fields.append(" My Key = \"x<&\"y\" ");
    std::vector<std::string> lines;
    EXPECT_EQ(MemoBasic::writeFields_(fields, lines, "    "), 2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "      <Field Filename=\"C:\\a b.txt\" My_Key=\"x&lt;&amp;&quot;y\" />");

    FieldList blank;
    blank.append("   ");
    EXPECT_EQ(MemoBasic::writeFields_(blank, lines, ""), 0);
    EXPECT_EQ(lines.size(), 1u);
}

TEST(RecordMarkup, FieldsFromTagAppendRawFirstThenReplaceByKey) {
    auto root = test::parseText("<Field a=\"1\" b/><Field A=\"2\" c=\"3\"/>");
    MemoBasic record;
    record.fieldsFromTag_(*root->itemObject(0));
    EXPECT_EQ(record.fields.text(), "a=\"1\"\r\nb");
    record.fieldsFromTag_(*root->itemObject(1));
    EXPECT_EQ(record.fields.text(), "A=\"2\"\r\nb\r\nc=\"3\"");
}

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
// into a letter, and a search must not start inside it.
void expectKanaNotMatchedByLetter(MemoNode& node) {
    node.memo.push_back("\x83\x51");
    node.comment.push_back("\x83\x51");
    node.fields.append("K=\x83\x51");
    for (bool ignoreCase : {true, false}) {
        EXPECT_FALSE(node.contains_("q", ignoreCase, true, true, true, true));
        EXPECT_FALSE(node.contains_("Q", ignoreCase, true, true, true, true));
    }
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

}  // namespace
}  // namespace zel
