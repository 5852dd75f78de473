#include "text/DateTime.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

// Wednesday, 1 March 2006, 14:05:09.007.
const DateTime kStamp{2006, 3, 1, 14, 5, 9, 7};

TEST(DateTimeFormat, LettersInAnyCase) {
    EXPECT_EQ(formatDateTime("yyyymmdd hhnnss", kStamp), "20060301 140509");
    EXPECT_EQ(formatDateTime("YYYYMMDD_hhnnsszzz", kStamp), "20060301_140509007");
    EXPECT_EQ(formatDateTime("yy/m/d h:n:s.z", kStamp), "06/3/1 14:5:9.7");
    EXPECT_EQ(formatDateTime("yyyy-mm-dd T", kStamp), "2006-03-01 T");
}

TEST(DateTimeFormat, MonthLettersAfterAnHourAreMinutes) {
    EXPECT_EQ(formatDateTime("hh:mm", kStamp), "14:05");
    EXPECT_EQ(formatDateTime("mm hhmm mm", kStamp), "03 1405 03");
    EXPECT_EQ(formatDateTime("hhnn mm", kStamp), "1405 03");
}

TEST(DateTimeFormat, QuotedTextDayNamesAndDoubleByteCharacters) {
    // yyyy"年"mm"月"dd"日("ddd")" gives 2006年03月01日(水).
    EXPECT_EQ(formatDateTime("YYYY\"\x94\x4E\"MM\"\x8C\x8E\"DD\"\x93\xFA(\"ddd\")\"", kStamp),
              "2006\x94\x4E"
              "03\x8C\x8E"
              "01\x93\xFA(\x90\x85)");
    EXPECT_EQ(formatDateTime("dddd", kStamp), "\x90\x85\x97\x6A\x93\xFA");
    EXPECT_EQ(formatDateTime("ddddd", kStamp), "2006/03/01");
    EXPECT_EQ(formatDateTime("'hh'", kStamp), "hh");
    // 年 unquoted: its second byte 4E ("N") is no minutes letter.
    EXPECT_EQ(formatDateTime("yyyy\x94\x4E", kStamp), "2006\x94\x4E");
}

TEST(DateTimeCalendar, WeekdaysAndMonthLengths) {
    EXPECT_EQ(dayOfWeek({2006, 3, 1}), 3);
    EXPECT_EQ(dayOfWeek({2000, 1, 1}), 6);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_FALSE(isValidDateTime({2006, 2, 29}));
    EXPECT_FALSE(isValidDateTime({2006, 1, 1, 24}));
}

TEST(DateTimeCalendar, MovingByDaysCrossesMonthsYearsAndLeapDays) {
    EXPECT_EQ(addDays({2024, 2, 28, 13, 5}, 1), (DateTime{2024, 2, 29, 13, 5}));
    EXPECT_EQ(addDays({2023, 2, 28}, 1), (DateTime{2023, 3, 1}));
    EXPECT_EQ(addDays({2024, 12, 31}, 1), (DateTime{2025, 1, 1}));
    EXPECT_EQ(addDays({2025, 1, 3}, -7), (DateTime{2024, 12, 27}));
    EXPECT_EQ(addDays({2000, 3, 1}, -1), (DateTime{2000, 2, 29}));
    EXPECT_EQ(addDays({1, 1, 1}, 0), (DateTime{1, 1, 1}));
    // A whole 400-year cycle is 146097 days.
    EXPECT_EQ(addDays({1601, 1, 1}, 146097), (DateTime{2001, 1, 1}));
}

TEST(CompactDateTime, ReadsGroupsWithDefaults) {
    EXPECT_EQ(readCompactDateTime("20060301142530"), (DateTime{2006, 3, 1, 14, 25, 30}));
    EXPECT_EQ(readCompactDateTime("2006"), (DateTime{2006, 1, 1}));
    EXPECT_EQ(readCompactDateTime("2006031"), (DateTime{2006, 3, 1}));
    EXPECT_EQ(readCompactDateTime("200603011425309999"), (DateTime{2006, 3, 1, 14, 25, 30}));
    // A group ends at its first non-digit; a group starting with one reads 0.
    EXPECT_EQ(readCompactDateTime("200603011x253x"), (DateTime{2006, 3, 1, 1, 25, 3}));
    EXPECT_EQ(readCompactDateTime("20060301 12530"), (DateTime{2006, 3, 1, 0, 25, 30}));
}

TEST(CompactDateTime, InvalidTextGivesTheCurrentTime) {
    EXPECT_FALSE(readCompactDateTime("20061301"));
    EXPECT_FALSE(readCompactDateTime("200"));
    EXPECT_FALSE(readCompactDateTime("0000"));
    DateTime before = currentDateTime();
    DateTime parsed = parseCompactDateTime("20061301");
    DateTime after = currentDateTime();
    EXPECT_LE(before, parsed);
    EXPECT_LE(parsed, after);
}

}  // namespace
}  // namespace zel
