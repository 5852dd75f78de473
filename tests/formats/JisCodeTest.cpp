#include <gtest/gtest.h>

#include <string>

#include "formats/JisCode.h"

namespace zel {
namespace {

const std::string kKanji = "\x1b$B";
const std::string kRoman = "\x1b(J";
const std::string kKan = "\x8a\xbf";  // 漢 in Shift_JIS

TEST(SjisToJis, PlainTextAndModeSwitches) {
    EXPECT_EQ(sjisToJis_(""), "");
    EXPECT_EQ(sjisToJis_("plain ASCII\r\n"), "plain ASCII\r\n");
    EXPECT_EQ(sjisToJis_(kKan), kKanji + "4A" + kRoman);
    // The return to Roman comes before the line break; the next line needs no escape.
    EXPECT_EQ(sjisToJis_(kKan + "\r\nabc"), kKanji + "4A" + kRoman + "\r\nabc");
    EXPECT_EQ(sjisToJis_(kKan + kKan), kKanji + "4A4A" + kRoman);
    EXPECT_EQ(sjisToJis_(kKan + "a" + kKan), kKanji + "4A" + kRoman + "a" + kKanji + "4A" + kRoman);
    // Both branches of the pair arithmetic: あ (82 A0) and ア (83 41), ー (81 5B).
    EXPECT_EQ(sjisToJis_("\x82\xa0\x83\x41\x81\x5b"), kKanji + "\x24\x22\x25\x22\x21\x3c" + kRoman);
}

TEST(SjisToJis, HalfWidthKanaBecomeFullWidth) {
    auto jis = [](std::string codes) { return kKanji + codes + kRoman; };
    EXPECT_EQ(sjisToJis_("\xb6\xde"), jis("\x25\x2c"));                  // ｶﾞ -> ガ
    EXPECT_EQ(sjisToJis_("\xc5\xde"), jis("\x25\x4a\x21\x2b"));          // ﾅﾞ -> ナ ゛
    EXPECT_EQ(sjisToJis_("\xca\xdf\xce\xde"), jis("\x25\x51\x25\x5c"));  // ﾊﾟﾎﾞ -> パボ
    EXPECT_EQ(sjisToJis_("\xb3\xde"), jis("\x25\x74"));                  // ｳﾞ -> ヴ
    EXPECT_EQ(sjisToJis_("\xde"), jis("\x21\x2b"));                      // ﾞ alone -> ゛
    EXPECT_EQ(sjisToJis_("\xa1\xa6\xb0\xdd"), jis("\x21\x23\x25\x72\x21\x3c\x25\x73"));
    EXPECT_EQ(sjisToJis_("\xb6"), jis("\x25\x2b"));                     // nothing follows
    EXPECT_EQ(sjisToJis_("\xb6\xdfx"), jis("\x25\x2b\x21\x2c") + "x");  // ｶﾟ is no kana
}

TEST(SjisToJis, MalformedInputStaysSevenBit) {
    const std::string geta = "\x22\x2e";
    struct Case {
        std::string in, out;
    };
    Case cases[] = {
        {"a\x8a", "a" + kKanji + geta + kRoman},                 // lead byte at the end
        {"\x8a\r\n", kKanji + geta + kRoman + "\r\n"},           // break after a lone lead
        {"\x80\xa0\xfd", kKanji + geta + geta + geta + kRoman},  // never lead bytes
        {"\xf0\x40", kKanji + geta + kRoman},                    // user-defined area
        {"\xed\x40", kKanji + "\x79\x21" + kRoman},              // vendor row, as computed
    };
    for (const auto& c : cases) {
        std::string out = sjisToJis_(c.in);
        EXPECT_EQ(out, c.out);
        for (unsigned char b : out) EXPECT_LT(b, 0x80);
    }
}

}  // namespace
}  // namespace zel
