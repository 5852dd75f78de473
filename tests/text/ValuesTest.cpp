#include "text/Values.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(Colors, NamesAndNumbersRoundTrip) {
    for (Color c : {0x808000u, 0x000000u, 0xFFFFFFu, 0x123456u, 0x8000000Fu, 0x0000FEu}) {
        EXPECT_EQ(nameToColor(colorToName(c)), c) << colorToName(c);
    }
    EXPECT_EQ(colorToName(0x808000), "clTeal");
    EXPECT_EQ(colorToName(0x123456), "$123456");
    EXPECT_EQ(colorToName(0xFF), "clRed");
    EXPECT_EQ(colorToName(0xFE), "$0000FE");
    EXPECT_EQ(colorToName(0x8000000F), "$8000000F");
}

TEST(Colors, ReadOnlyAliasesAreWrittenUnderTheirMainNames) {
    EXPECT_EQ(nameToColor("clGray"), 0x808080u);
    EXPECT_EQ(nameToColor("clDkGray"), 0x808080u);
    EXPECT_EQ(colorToName(0x808080), "clDkGray");
    EXPECT_EQ(nameToColor("clSilver"), 0xC0C0C0u);
    EXPECT_EQ(colorToName(0xC0C0C0), "clLtGray");
}

TEST(Colors, ReadingIsStrictAboutNamesAndLenientAboutNumbers) {
    EXPECT_EQ(nameToColor("255"), 0xFFu);
    EXPECT_EQ(nameToColor("12ab"), 12u);
    EXPECT_EQ(nameToColor("$ff00zz"), 0xFF00u);
    EXPECT_EQ(nameToColor("$"), 0u);
    EXPECT_EQ(nameToColor("$FFFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(nameToColor("clred"), 0u);
    EXPECT_EQ(nameToColor(" clRed"), 0u);
    EXPECT_EQ(nameToColor("clUnknown"), 0u);
    EXPECT_EQ(nameToColor("  "), 0u);
}

TEST(Values, BooleansAndStrictRectangles) {
    EXPECT_EQ(boolToText(true), "true");
    EXPECT_EQ(boolToText(false), "false");
    const Rect r{10, 20, 30, 40};
    EXPECT_TRUE(pointInRect({11, 21}, r));
    EXPECT_FALSE(pointInRect({10, 25}, r));
    EXPECT_FALSE(pointInRect({29, 40}, r));
    EXPECT_FALSE(pointInRect({5, 25}, r));
}

}  // namespace
}  // namespace zel
