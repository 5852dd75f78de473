#pragma once
// Calendar date and time of day, the one date-time pattern formatter, and the
// compact digit form (20060301142530) that holder files store.

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace zel {

struct DateTime {
    int year = 1;
    int month = 1;  // 1-12
    int day = 1;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    auto operator<=>(const DateTime&) const = default;
};

// The local date and time, with milliseconds.
DateTime currentDateTime();

int daysInMonth(int year, int month);
// Years 1-9999, real calendar days, 24-hour clock, no leap seconds.
bool isValidDateTime(const DateTime& t);
// 0 for Sunday to 6 for Saturday.
int dayOfWeek(const DateTime& t);
// `t` moved by whole days (back when negative), the time of day kept.
DateTime addDays(const DateTime& t, int days);

// Formats `t` by a pattern whose letters, in any case, stand for the parts:
// yyyy / yy year; mm / m month, but minutes when they follow an hour; dd / d
// day, ddd / dddd the day's short / long name, ddddd the date as yyyy/mm/dd;
// hh / h hour; nn / n minutes; ss / s seconds; zzz / z milliseconds. Text
// between double quotes or apostrophes is copied without them; every other
// character, double-byte ones whole, is copied as it stands.
std::string formatDateTime(std::string_view pattern, const DateTime& t);

// Reads year, month, day, hour, minute and second from 4, 2, 2, 2, 2 and 2
// digits; groups beyond the end of the text keep their defaults (1 January,
// midnight). Nothing when the text is shorter than four bytes or the values do
// not make a valid date and time.
std::optional<DateTime> readCompactDateTime(std::string_view text);
// As readCompactDateTime, giving the current date and time when it fails.
DateTime parseCompactDateTime(std::string_view text);

}  // namespace zel
