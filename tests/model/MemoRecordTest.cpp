// Fields and record markup of the memo record.

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

}  // namespace
}  // namespace zel
