// What a node prints, and where a picture goes on the page.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "export/PrintNode.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {
namespace {

using ::testing::ElementsAre;

DateTime at() {
    DateTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    t.hour = 14;
    t.minute = 7;
    t.second = 9;
    return t;
}

TEST(PrintNodeTest, TheContentTypeChoosesWhatIsPrinted) {
    MemoHolder holder;
    holder.addNode_(holder.newNode_(), "n");
    MemoNode& node = *holder.first_();
    node.memo = {"line 1", "line 2"};
    node.putField_("Link", "\"x\"");
    NodePrint text = nodePrintOf(node, "h", at());
    EXPECT_EQ(text.kind, NodePrintKind::Lines);
    EXPECT_THAT(text.lines, ElementsAre("line 1", "line 2"));
    EXPECT_EQ(text.title, "h : n");

    node.putField_("Content-Type", "\"TEXT/html\"");
    node.putField_("Content-Transfer-Encoding", "\"URL\"");
    ASSERT_TRUE(node.isURL_());
    EXPECT_THAT(nodePrintOf(node, "h", at()).lines,
                ElementsAre("Link=\"x\"", "Content-Type=\"TEXT/html\"",
                            "Content-Transfer-Encoding=\"URL\""));

    holder.addNode_(holder.newNode_(), "p");
    MemoNode& picture = *holder.last_();
    picture.putField_("Content-Type", "\"Image/GIF\"");
    EXPECT_EQ(nodePrintOf(picture, "h", at()).kind, NodePrintKind::Lines);
    EXPECT_THAT(nodePrintOf(picture, "h", at()).lines, ElementsAre("Content-Type=\"Image/GIF\""));
    picture.putField_("Content-Type", "\"image/jpeg\"");
    NodePrint image = nodePrintOf(picture, "h", at());
    EXPECT_EQ(image.kind, NodePrintKind::Image);
    EXPECT_EQ(image.caption, "20240305 140709 h : p");

    picture.putField_("Content-Type", "\"application/pdf\"");
    NodePrint other = nodePrintOf(picture, "h", at());
    EXPECT_EQ(other.kind, NodePrintKind::Document);
    EXPECT_EQ(other.text, "     h : p");
    EXPECT_EQ(other.documentTitle, "\"application/pdf\"");
}

TEST(PrintNodeTest, PicturesFitNinetySevenPercentOfThePageKeepingTheirShape) {
    // 1000 x 2000 page: half extents 485 x 970 around (500, 1000).
    auto rect = [](int w, int h) {
        auto r = imagePrintRect(1000, 2000, w, h);
        return r ? std::vector<int>{r->left, r->top, r->right, r->bottom} : std::vector<int>{};
    };
    EXPECT_THAT(rect(100, 100), ElementsAre(15, 515, 985, 1485));
    EXPECT_THAT(rect(100, 400), ElementsAre(258, 30, 742, 1970));  // tall: the height stays
    EXPECT_THAT(rect(100, 150), ElementsAre(15, 273, 985, 1727));  // taller, but the width limits
    EXPECT_THAT(rect(400, 100), ElementsAre(15, 879, 985, 1121));
    EXPECT_TRUE(rect(0, 100).empty());
    EXPECT_TRUE(rect(100, 0).empty());
    EXPECT_EQ(imageCaptionMargin(2000), 50);
    EXPECT_EQ(imageCaptionMargin(100), 12);
}

}  // namespace
}  // namespace zel
