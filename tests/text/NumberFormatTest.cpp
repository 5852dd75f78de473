#include "text/NumberFormat.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

TEST(NumberFormat, IntegerConversionsWithFlagsWidthAndPrecision) {
    EXPECT_EQ(formatNumber("%.5d", 12), "00012");
    EXPECT_EQ(formatNumber("%7d", -12), "    -12");
    EXPECT_EQ(formatNumber("%-5d|", 3), "3    |");
    EXPECT_EQ(formatNumber("%05d", -42), "-0042");
    EXPECT_EQ(formatNumber("%+d", 7), "+7");
    EXPECT_EQ(formatNumber("% d", 7), " 7");
    EXPECT_EQ(formatNumber("%.0d", 0), "");
    EXPECT_EQ(formatNumber("%08.3d", 5), "     005");
}

TEST(NumberFormat, HexadecimalIsUpperCase) {
    EXPECT_EQ(formatNumber("%x", 255), "FF");
    EXPECT_EQ(formatNumber("%.4X", 255), "00FF");
    EXPECT_EQ(formatNumber("%#x", 255), "0XFF");
    EXPECT_EQ(formatNumber("%x", -1), "FFFFFFFFFFFFFFFF");
}

TEST(NumberFormat, TextAroundTheConversionIsKept) {
    EXPECT_EQ(formatNumber("No.%03d:", 7), "No.007:");
    EXPECT_EQ(formatNumber("100%% %d", 5), "100% 5");
    // 表 95 5C and a double-byte character whose second byte is "%"-free.
    EXPECT_EQ(formatNumber("\x95\x5C%d", 1),
              "\x95\x5C"
              "1");
}

TEST(NumberFormat, AnythingElseFallsBackToTheDefault) {
    EXPECT_EQ(formatNumber("", 12), "00012");
    EXPECT_EQ(formatNumber("plain", 12), "00012");
    EXPECT_EQ(formatNumber("%s", 12), "00012");
    EXPECT_EQ(formatNumber("%d %d", 12), "00012");
    EXPECT_EQ(formatNumber("%ld", 12), "00012");
    EXPECT_EQ(formatNumber("%*d", 12), "00012");
    EXPECT_EQ(formatNumber("%n", 12), "00012");
    EXPECT_EQ(formatNumber("%99999999999d", 12), "00012");
    EXPECT_EQ(formatNumber("%d%", 12), "00012");
    EXPECT_EQ(formatNumber("%s", 12, "%.8d:"), "00000012:");
    EXPECT_EQ(formatNumber("%s", 12, "%s"), "12");
}

}  // namespace
}  // namespace zel
