#include <gtest/gtest.h>

#include "text/Sjis.h"

namespace zel {
namespace {

TEST(SjisFold, LeavesSecondBytesOfOtherCharactersAlone) {
    EXPECT_EQ(lowerText("AbC\x83\x41"), "abc\x83\x41");
    EXPECT_EQ(lowerText("\x82\x60\x83\x9F\x84\x40\x84\x4F"), "\x82\x81\x83\xBF\x84\x70\x84\x80");
    EXPECT_EQ(upperText("\x82\x81\x83\xBF\x84\x70\x84\x80x"), "\x82\x60\x83\x9F\x84\x40\x84\x4FX");
    EXPECT_TRUE(sameText("\x82\x60z", "\x82\x81Z"));
    EXPECT_FALSE(sameText("\x83\x41", "\x83\x61"));
}

}  // namespace
}  // namespace zel
