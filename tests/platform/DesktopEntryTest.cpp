#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(DesktopExec, QuotesEscapesAndDoublesPercentAsTheFormatAsks) {
    EXPECT_EQ(desktopExecLine({"/usr/bin/zel"}, "%f"), "/usr/bin/zel %f");
    EXPECT_EQ(desktopExecLine({"/opt/my apps/zel"}, "%f"), "\"/opt/my apps/zel\" %f");
    EXPECT_EQ(desktopExecLine({"/opt/100%/zel"}), "/opt/100%%/zel");
    // Inside quotes `\` becomes `\\`, and the string escapes double it again.
    EXPECT_EQ(desktopExecLine({"/a\\b/zel"}), "\"/a\\\\\\\\b/zel\"");
    EXPECT_EQ(desktopExecLine({"/a\"b$c`d/zel"}), "\"/a\\\\\"b\\\\$c\\\\`d/zel\"");
}

TEST(DesktopExec, HostilePathsComeBackWhole) {
    const std::vector<std::string> paths = {
        "/opt/my apps/zel",
        "/x/\"quoted\" $HOME `id` 100% back\\slash/zel",
        "/tab\there/new\nline/zel",
        "/semi;colon/and&amp|pipe(1)/zel",
        "/\xE6\x97\xA5\xE6\x9C\xAC/\xE3\x83\xA2\xE3\x83\xA2/zel",  // Japanese folder names
        "/%f/%%/zel",
    };
    for (const std::string& path : paths) {
        const auto line = desktopExecLine({path, "--open", "a b"}, "%U");
        ASSERT_TRUE(line) << path;
        EXPECT_EQ(line->find('\n'), std::string::npos) << "one line for " << path;
        EXPECT_EQ(desktopExecArguments(*line), (std::vector<std::string>{path, "--open", "a b"}))
            << *line;
    }
}

TEST(DesktopExec, RefusesWhatNoDesktopReadsBack) {
    EXPECT_FALSE(desktopExecLine({"/x/\x82\xA0/zel"}));  // Shift_JIS, not UTF-8
    EXPECT_FALSE(desktopExecLine({"/x/\xC0\xAF/zel"}));  // an overlong "/"
    EXPECT_FALSE(desktopExecLine({"/x/\x01/zel"}));
    EXPECT_FALSE(desktopExecLine({"/x/\r/zel"}));
    EXPECT_TRUE(isUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(isUtf8("\xED\xA0\x80"));  // a surrogate
    EXPECT_FALSE(isUtf8("\xE6\x97"));      // cut short
}

TEST(DesktopEntryValue, ReadsOnlyTheMainGroup) {
    const std::string text =
        "# comment\n[Desktop Entry]\nName = zel\r\nExec=zel %f\n"
        "[Desktop Action New]\nExec=other\n";
    EXPECT_EQ(desktopEntryValue(text, "Exec"), "zel %f");
    EXPECT_EQ(desktopEntryValue(text, "Name"), "zel");
    EXPECT_FALSE(desktopEntryValue(text, "Icon"));
    EXPECT_FALSE(desktopEntryValue("[Other]\nExec=x\n", "Exec"));
}

}  // namespace
}  // namespace zel
