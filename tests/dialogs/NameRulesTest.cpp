#include "dialogs/NameRules.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

const std::string kBlackCircle = "\x81\x9c";  // ●
const std::string kKanji = "\x93\xfa";        // 日

TEST(NameRulesTest, MarksBecomeTheFirstSecondOrThirdWordAndCutsTakeThemOut) {
    EXPECT_EQ(insertNameWord(1, "memo ", kBlackCircle), kBlackCircle + " memo ");
    const std::string marked = insertNameWord(2, "20240105 meeting", kBlackCircle);
    EXPECT_EQ(marked, "20240105 " + kBlackCircle + " meeting");
    EXPECT_EQ(cutNameWord(2, marked), "20240105 meeting");
    EXPECT_EQ(insertNameWord(2, " one ", "x"), "one x ") << "no rest: ends in a blank";
    EXPECT_EQ(insertNameWord(3, "a b c d", "x"), "a b x c d");
    EXPECT_EQ(cutNameWord(3, "a b c d"), "a b d");
    EXPECT_EQ(cutNameWord(1, "a\tb c"), "b c");
    EXPECT_EQ(cutNameWord(1, "single"), "");
}

TEST(NameRulesTest, CountingUpAndDown) {
    EXPECT_EQ(countFirstWord("memo19 x", true), "memo20 x");
    EXPECT_EQ(countFirstWord("memo10", false), "memo09");
    EXPECT_EQ(countFirstWord("memo x1 ", true), "memo x1 ") << "no digit in the first word";
    EXPECT_EQ(countSecondWord("a 12 b", true), "a 13 b");
    EXPECT_EQ(countSecondWord("a 10", false), "a 09");
    EXPECT_EQ(countSecondWord("a b12 c", true), "a b12 c");
    EXPECT_EQ(countTens("memo15", true), "memo25");
    EXPECT_EQ(countTens("memo95", true), "memo05");
    EXPECT_EQ(countTens("1995", true), "2005");
    EXPECT_EQ(countTens("memo25", false), "memo15");
    EXPECT_EQ(countTens("memo5", true), "memo5");
    EXPECT_EQ(countTens("C:\\dir\\file15.txt", true), "C:\\dir\\file25.txt");
    EXPECT_EQ(countTens("/d9/v1.2/file15.7z", true), "/d9/v1.2/file25.7z");
}

TEST(NameRulesTest, CutsRemoveWholeCharacters) {
    EXPECT_EQ(cutNameHead("C:\\memo\\a.txt"), ":\\memo\\a.txt");
    EXPECT_EQ(cutNameHeadTwice("C:\\memo\\a.txt"), "\\memo\\a.txt");
    EXPECT_EQ(cutNameTail("C:\\memo\\a.txt"), "C:\\memo\\a.");
    EXPECT_EQ(cutNameHead("ab"), "ab");
    EXPECT_EQ(cutNameHead(kKanji + kKanji + "x"), kKanji + "x");
    EXPECT_EQ(cutNameFirstChar(kKanji + "a"), "a");
    EXPECT_EQ(cutNameLastChar("a" + kKanji), "a");
    EXPECT_EQ(cutNameLastChar("a"), "");
    EXPECT_EQ(extractNameFile("C:\\memo\\a.txt"), "a.txt");
    EXPECT_EQ(extractNameFile("/home/u/b.txt"), "b.txt");
    EXPECT_EQ(removeNameExtension("C:\\me.mo\\a.tar.gz"), "C:\\me.mo\\a.tar");
    EXPECT_EQ(removeNameExtension("C:\\me.mo\\readme"), "C:\\me.mo\\readme");
}

TEST(NameRulesTest, TheCalendarDateComesFromTheDigitsOfTheFirstWord) {
    const DateTime now{2024, 3, 9, 10, 20, 30, 0};
    auto date = [&](std::string_view name) {
        const DateTime t = calendarDateOfName(name, now);
        return std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day);
    };
    EXPECT_EQ(date("0131 memo"), "2024-1-31");
    EXPECT_EQ(date("memo"), "2024-3-9");
    EXPECT_EQ(date("45"), "2024-3-9") << "45 is not below 32";
    EXPECT_EQ(date("d25"), "2024-3-25");
    EXPECT_EQ(date("7"), "2024-3-7");
    EXPECT_EQ(date("991231"), "2099-12-31");
    EXPECT_EQ(date("2023/12/01"), "2023-12-1");
    EXPECT_EQ(date("0231"), "2024-3-9") << "no 31 February";
    const DateTime withTime = calendarDateOfName("20230102153045", now);
    EXPECT_EQ(withTime.hour, 15);
    EXPECT_EQ(withTime.second, 45);
    EXPECT_EQ(calendarDateOfName("20241301", now), now) << "no month 13: today and now";
}

TEST(NameRulesTest, SetPutsTheDateWhereTheNameHadOne) {
    EXPECT_EQ(putDateIntoName("20230101 meeting ", "20240105"), "20240105 meeting");
    EXPECT_EQ(putDateIntoName(kBlackCircle + " 20230101 x", "20240105"),
              kBlackCircle + " 20240105 x");
    EXPECT_EQ(putDateIntoName(kBlackCircle + " meeting", "20240105"), "20240105 meeting");
    EXPECT_EQ(putDateIntoName("", "20240105"), "20240105 ");
}

TEST(NameRulesTest, YearsMoveKeepingTheDay) {
    const DateTime leap{2024, 2, 29, 0, 0, 0, 0};
    EXPECT_EQ(shiftYears(leap, 1), (DateTime{2025, 2, 28, 0, 0, 0, 0}));
    EXPECT_EQ(shiftYears(leap, -4), (DateTime{2020, 2, 29, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace zel
