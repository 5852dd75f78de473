// File fields and names of many nodes at once: relative paths, file-name
// parts, and the Update field from the bullet line.

#include "app/AppTestSupport.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"

namespace zel {
namespace {

class FieldCommandsTest : public AppTest {};

TEST_F(FieldCommandsTest, FileFieldsBecomeRelativeAndNamesTheirFileNamePart) {
    openMemoFile({{"A", {"C:\\docs\\report.txt", "plain"}}});
    MemoNode* linked = holder("A")->at_(0);
    linked->putField_("Filename", "\"" + path("img/a.jpg") + "\"");
    ASSERT_EQ(window->UISetRelativePathHolder(), 2);
    EXPECT_EQ(linked->getField_("Filename"), "\"./img/a.jpg\"");
    EXPECT_EQ(holder("A")->at_(1)->fields.indexOf("Filename"), -1) << "no field, none made";

    ASSERT_EQ(window->UIExtractFilenameHolder(), 2);
    EXPECT_EQ(linked->getName_(), "report.txt");
    EXPECT_EQ(holder("A")->at_(1)->getName_(), "plain");
}

TEST_F(FieldCommandsTest, TheUpdateFieldComesFromTheFirstBulletLine) {
    openMemoFile({{"A", {"a", "b", "c"}}});
    const std::string bullet = utf8ToSjis("\u25CF");
    holder("A")->at_(0)->memo = {"intro", "  " + bullet + "20260301 shopping", bullet + "later"};
    holder("A")->at_(1)->comment = {bullet + "v2\tnote"};
    EXPECT_EQ(window->UISetUpdate(), 2);
    EXPECT_EQ(holder("A")->at_(0)->getField_("Update"), "\"20260301\"");
    EXPECT_EQ(holder("A")->at_(1)->getField_("Update"), "\"v2\"") << "from the comment";
    EXPECT_EQ(holder("A")->at_(2)->fields.indexOf("Update"), -1);
}

}  // namespace
}  // namespace zel
