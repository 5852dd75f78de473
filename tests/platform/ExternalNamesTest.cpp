#include "platform/ExternalNames.h"

#include <gtest/gtest.h>

#include "text/Sjis.h"

namespace zel {
namespace {

TEST(ExternalNames, KeepOnlyThePlainLastComponent) {
    EXPECT_EQ(plainFileName("C:\\memo\\holder.mxh"), "holder.mxh");
    EXPECT_EQ(plainFileName("../../etc/passwd"), "passwd");
    EXPECT_EQ(plainFileName("/abs/olute.txt"), "olute.txt");
    EXPECT_EQ(plainFileName("a\tb\r\nc\x7f.txt"), "abc.txt");
    EXPECT_EQ(plainFileName("with blank.txt"), "with blank.txt");
}

TEST(ExternalNames, NeverYieldDotsOrNothing) {
    for (const char* name : {"", "..", ".", "dir/", "dir/..", "\\..", "\r\n", "a/...."}) {
        EXPECT_EQ(plainFileName(name), "noname") << name;
    }
    EXPECT_EQ(plainFileName("..", "part1.mxh"), "part1.mxh");
    EXPECT_EQ(plainFileName("..", "../.."), "noname");
}

TEST(ExternalNames, ShiftJisSecondBytesAreNotSeparators) {
    // 表 is 95 5C: its second byte looks like "\" but is part of the character.
    const std::string name = "\x95\x5C.mxh";
    EXPECT_EQ(plainFileName("dir\\" + name), name);
    // A lead byte cannot swallow the "/" after it in malformed input.
    EXPECT_EQ(plainFileName("\x83/x"), "x");
    EXPECT_EQ(plainFileName("\x83\\x"), "\x83\\x");
}

TEST(ExternalNames, LongNamesFitTheFileSystemAndKeepTheirExtension) {
    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "\x83\x81";  // メ, three bytes in UTF-8
    std::string plain = plainFileName(longName + ".mxh");
    EXPECT_LE(sjisToUtf8(plain).size(), 255u);
    EXPECT_EQ(plain.substr(plain.size() - 4), ".mxh");
    EXPECT_EQ(plain.substr(0, 2), "\x83\x81");
    EXPECT_EQ((plain.size() - 4) % 2, 0u);  // no character cut in half
}

TEST(ExternalNames, AHugeNameIsCutOnceToTheLongestPrefixThatFits) {
    // Half-width カ (B6) and ASCII x weigh 3 and 1 bytes in UTF-8, メ (83 81)
    // 3: the cut must weigh each character, not count bytes.
    std::string huge;
    while (huge.size() < 10'000'000) huge += "x\xB6\x83\x81";
    const std::string plain = plainFileName(huge + ".txt");
    EXPECT_EQ(plain.size(), 4u + 4 * 35 + 2);
    EXPECT_EQ(sjisToUtf8(plain).size(), 4u + 7 * 35 + 3 + 1) << "x + カ fit, メ does not";
    EXPECT_EQ(plain.substr(plain.size() - 6), "x\xB6.txt");
    // A dot far from the end is no extension: the name is cut as one stem.
    EXPECT_EQ(plainFileName("a." + std::string(10'000'000, 'z')), "a." + std::string(253, 'z'));
}

TEST(ExternalNames, NumberedNamesKeepTheirNumberWithinTheLimit) {
    EXPECT_EQ(numberedFileName("a.txt", 0), "a.txt");
    EXPECT_EQ(numberedFileName("a.txt", 2), "a_2.txt");
    EXPECT_EQ(numberedFileName("README", 12), "README_12");
    EXPECT_EQ(numberedFileName("a.tar.gz", 1), "a.tar_1.gz");
    const std::string longest = plainFileName(std::string(300, 'y') + ".txt");
    ASSERT_EQ(longest.size(), 255u);
    EXPECT_EQ(numberedFileName(longest, 9999), std::string(246, 'y') + "_9999.txt");
    const std::string longExtension = plainFileName("b." + std::string(300, 'e'));
    EXPECT_EQ(numberedFileName(longExtension, 3), longExtension.substr(0, 253) + "_3");
}

TEST(ExternalNames, JoinStaysInsideTheFolder) {
    EXPECT_EQ(joinInsideFolder("/w/memo", "../../x.mxa"), "/w/memo/x.mxa");
    EXPECT_EQ(joinInsideFolder("/w/memo/", "sub/.."), "/w/memo/noname");
}

}  // namespace
}  // namespace zel
