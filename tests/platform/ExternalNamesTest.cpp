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

TEST(ExternalNames, JoinStaysInsideTheFolder) {
    EXPECT_EQ(joinInsideFolder("/w/memo", "../../x.mxa"), "/w/memo/x.mxa");
    EXPECT_EQ(joinInsideFolder("/w/memo/", "sub/.."), "/w/memo/noname");
}

}  // namespace
}  // namespace zel
