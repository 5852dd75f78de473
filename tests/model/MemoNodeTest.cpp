// Node kinds, links and the node record writer and reader.

#include <gtest/gtest.h>

#include "formats/TContent.h"
#include "model/MemoBasic.h"
#include "model/MemoNode.h"
#include "model/RecordTestSupport.h"

namespace zel {
namespace {

using Lines = std::vector<std::string>;

std::string binaryBytes(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 37 + 11) & 0xFF);
    return bytes;
}

void attachBinary(MemoNode& node, const std::string& bytes) {
    node.content = std::make_unique<TContent>();
    node.content->stream = bytes;
    node.putField_("Content-Type", "\"image/jpeg\"");
    node.putField_("Content-Transfer-Encoding", "\"binary\"");
}

TEST(NodeRecord, WritesFieldsMemoCommentInThatOrder) {
    MemoNode node;
    node.setMarked_(true);
    node.memo = {"buy milk", ""};
    node.comment = {"see shop list"};
    std::vector<std::string> lines;
    node.writeNodeRecord_(lines, "    ");
    EXPECT_EQ(lines, (Lines{"    <Record name=\"noname\">", "      <Field flagMarked=\"true\" />",
                            "buy milk<BR/>", "<BR/>", "      <Comment>", "see shop list<BR/>",
                            "      </Comment>", "    </Record>"}));
}

TEST(NodeRecord, TextNodeRoundTripKeepsFieldsAndBlanks) {
    MemoNode node;
    node.putField_("Title", "\"say \"hi\" <b> & more\"");
    node.putField_("My Key", "\"v\"");
    node.putField_("Color", "\"clRed\"");
    node.memo = {"  indented", "   ", "", "a<b>&c \"q\"", "\x93\xfa\x96\x7b"};
    node.comment = {"one", "  two"};
    auto copy = test::writeAndRead(node);
    EXPECT_EQ(copy->getField_("Title"), "\"say \"hi\" <b> & more\"");
    EXPECT_EQ(copy->getField_("My_Key"), "\"v\"");
    EXPECT_EQ(copy->getField_("Color"), "\"clRed\"");
    // Only a line of blanks changes: it reads back empty.
    EXPECT_EQ(copy->memo, (Lines{"  indented", "", "", "a<b>&c \"q\"", "\x93\xfa\x96\x7b"}));
    EXPECT_EQ(copy->comment, node.comment);
    EXPECT_FALSE(copy->content);
}

TEST(NodeRecord, BinaryNodeRoundTripKeepsEveryByte) {
    MemoNode node;
    const std::string bytes = binaryBytes(1000);
    attachBinary(node, bytes);
    node.memo = {"scratch"};
    Lines lines;
    node.writeNodeRecord_(lines, "  ");
    EXPECT_NE(lines[1].find("Content-Transfer-Encoding=\"base64\""), std::string::npos);
    // 1000 bytes: 17 lines of 57 bytes (76 characters) and one of 31 (44).
    ASSERT_EQ(lines.size(), 1u + 1 + 18 + 1);
    EXPECT_EQ(lines[2].size(), 76u + 5);
    EXPECT_EQ(lines[19].size(), 44u + 5);
    EXPECT_TRUE(node.memo.empty());  // the Base64 lines were scratch only
    EXPECT_EQ(node.getField_("Content-Transfer-Encoding"), "\"binary\"");

    auto copy = test::writeAndRead(node);
    ASSERT_TRUE(copy->content && copy->content->stream);
    EXPECT_EQ(*copy->content->stream, bytes);
    EXPECT_EQ(copy->getField_("Content-Transfer-Encoding"), "\"binary\"");
    EXPECT_EQ(copy->getField_("Content-Type"), "\"image/jpeg\"");
    EXPECT_TRUE(copy->memo.empty());
}

TEST(NodeRecord, UrlNodeDropsItsMemoText) {
    MemoNode node;
    node.putField_("Content-Transfer-Encoding", "\"URL\"");
    node.putField_("Filename", "\"http://host/a?x=1&y=2\"");
    node.memo = {"page text"};
    const std::string text = test::recordText(node);
    EXPECT_EQ(text.find("page text"), std::string::npos);
    EXPECT_TRUE(node.memo.empty());
    auto copy = test::writeAndRead(node);
    EXPECT_EQ(copy->getField_("Filename"), "\"http://host/a?x=1&y=2\"");
    EXPECT_TRUE(copy->isURL_());
    EXPECT_TRUE(copy->memo.empty());
}

TEST(NodeRecord, LinkedBinaryNodeWritesFieldsAndCommentOnly) {
    MemoNode node;
    attachBinary(node, binaryBytes(100));
    node.putField_("FlagLink", "\"true\"");
    node.comment = {"kept"};
    const std::string text = test::recordText(node);
    EXPECT_NE(text.find("Content-Transfer-Encoding=\"binary\""), std::string::npos);
    EXPECT_EQ(text.find("<BR/>"), text.find("kept<BR/>") + 4);  // only the comment's
    EXPECT_EQ(text.find("<BR/>"), text.rfind("<BR/>"));
    auto copy = test::writeAndRead(node);
    EXPECT_FALSE(copy->content);
    EXPECT_FALSE(copy->loaded);
    EXPECT_EQ(copy->comment, (Lines{"kept"}));
}

TEST(NodeRecord, ReaderIgnoresOtherElementsAndNameAndTrailingText) {
    auto root = test::parseText(
        "<Record name=\"ignored\"><Unknown x=\"1\"/>one<BR/><Field A=\"1\"/>two<BR/>tail</Record>");
    MemoNode node;
    node.readTag_(*root->itemObject(0));
    EXPECT_EQ(node.memo, (Lines{"one", "two"}));
    EXPECT_EQ(node.getField_("A"), "\"1\"");
}

TEST(NodeFields, InheritedFieldComesFromHolderThenMemoFile) {
    MemoBasic file;
    MemoBasic holder(&file);
    MemoNode node(&holder);
    EXPECT_EQ(node.getFieldInherited_("To"), "");
    file.putField_("To", "\"file\"");
    EXPECT_EQ(node.getFieldInherited_("To"), "\"file\"");
    holder.putField_("To", "\"holder\"");
    EXPECT_EQ(node.getFieldInherited_("to"), "\"holder\"");
    node.putField_("To", "\"node\"");
    EXPECT_EQ(node.getFieldInherited_("To"), "\"node\"");
}

TEST(NodeFields, ParentLinkGivesParentAUidFirst) {
    MemoNode parent, child;
    child.setParentNode_(parent);
    EXPECT_FALSE(parent.getField_("UID").empty());
    EXPECT_EQ(child.getField_("ParentNodeID"), parent.getField_("UID"));

    MemoNode other;
    other.putField_("UID", "\"abc");
    child.setParentNode_(other);
    EXPECT_EQ(child.getField_("ParentNodeID"), "\"abc\"");
}

TEST(NodeFields, MakeRelativeRewritesAbsolutePathsOnly) {
    MemoNode node;
    node.putField_("Filename", "\"/memo/img/a.jpg\"");
    EXPECT_EQ(node.makeRelative_("Filename", "/memo/"), "\"./img/a.jpg\"");
    EXPECT_EQ(node.getField_("Filename"), "\"./img/a.jpg\"");
    EXPECT_EQ(node.makeRelative_("Filename", "/memo/"), "");  // already relative

    node.putField_("Filename", "\"/other/b.txt\"");
    EXPECT_EQ(node.makeRelative_("Filename", "/memo/"), "\"../other/b.txt\"");
    for (const char* unchanged : {"\"http://host/a\"", "\"a.txt\"", "\".\\img\\a.jpg\""}) {
        node.putField_("Filename", unchanged);
        EXPECT_EQ(node.makeRelative_("Filename", "/memo/"), "");
        EXPECT_EQ(node.getField_("Filename"), unchanged);
    }
}

TEST(NodeFields, BulletLineFromMemoElseComment) {
    const std::string bullet = "\x81\x9C";
    MemoNode node;
    node.memo = {"plain", "  " + bullet + "20060301 memo  "};
    node.comment = {bullet + "comment"};
    EXPECT_EQ(node.getBulletLine_(), bullet + "20060301 memo");
    node.putField_("Content-Transfer-Encoding", "\"binary\"");
    EXPECT_EQ(node.getBulletLine_(), bullet + "comment");
    node.comment.clear();
    EXPECT_EQ(node.getBulletLine_(), "");
}

}  // namespace
}  // namespace zel
