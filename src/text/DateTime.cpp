#include "text/DateTime.h"

#include <array>
#include <chrono>
#include <ctime>

#include "text/Sjis.h"

namespace zel {

namespace {

// Shift_JIS day names, as the Japanese memo texts around them expect.
constexpr std::array<std::string_view, 7> kShortDayNames{
    "\x93\xFA", "\x8C\x8E", "\x89\xCE", "\x90\x85", "\x96\xD8", "\x8B\xE0", "\x93\x79"};
constexpr std::string_view kDaySuffix = "\x97\x6A\x93\xFA";  // 曜日
constexpr std::string_view kMonthSuffix = "\x8C\x8E";        // 月

std::string padded(int value, int digits) {
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
    return text;
}

// One or two digits, as the length of the letter run asks.
std::string numberPart(int value, std::size_t run) {
    return padded(value, run >= 2 ? 2 : 1);
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
bool isLetter(char c) {
    return upper(c) >= 'A' && upper(c) <= 'Z';
}

std::size_t runLength(std::string_view pattern, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < pattern.size() && upper(pattern[end]) == upper(pattern[pos])) ++end;
    return end - pos;
}

std::string dayPart(const DateTime& t, std::size_t run) {
    std::string_view shortName = kShortDayNames[dayOfWeek(t)];
    switch (run) {
        case 1:
        case 2:
            return numberPart(t.day, run);
        case 3:
            return std::string(shortName);
        case 4:
            return std::string(shortName) + std::string(kDaySuffix);
        default:
            return formatDateTime("yyyy/mm/dd", t);
    }
}

std::string monthPart(const DateTime& t, std::size_t run) {
    if (run <= 2) return numberPart(t.month, run);
    return std::to_string(t.month) + std::string(kMonthSuffix);
}

// The text of the letter run `letter` x `run`; `afterHour` turns months into
// minutes.
std::string letterPart(char letter, std::size_t run, bool afterHour, const DateTime& t,
                       std::string_view raw) {
    switch (letter) {
        case 'Y':
            return run <= 2 ? padded(t.year % 100, 2) : padded(t.year, 4);
        case 'M':
            return afterHour ? numberPart(t.minute, run) : monthPart(t, run);
        case 'D':
            return dayPart(t, run);
        case 'H':
            return numberPart(t.hour, run);
        case 'N':
            return numberPart(t.minute, run);
        case 'S':
            return numberPart(t.second, run);
        case 'Z':
            return padded(t.millisecond, run >= 2 ? 3 : 1);
        default:
            return std::string(raw);
    }
}

// Digits of text[pos, pos + width) up to the first non-digit; `fallback` when
// the group does not lie wholly within the text.
int readGroup(std::string_view text, std::size_t pos, std::size_t width, int fallback) {
    if (pos + width > text.size()) return fallback;
    int value = 0;
    for (std::size_t i = pos; i < pos + width && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

}  // namespace

DateTime currentDateTime() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,       local.tm_hour,
            local.tm_min,         local.tm_sec,     static_cast<int>(ms)};
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> kDays{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isValidDateTime(const DateTime& t) {
    return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
           t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour < 24 && t.minute >= 0 &&
           t.minute < 60 && t.second >= 0 && t.second < 60 && t.millisecond >= 0 &&
           t.millisecond < 1000;
}

int dayOfWeek(const DateTime& t) {
    // Sakamoto's method on the proleptic Gregorian calendar.
    static constexpr std::array<int, 12> kOffsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int year = t.month < 3 ? t.year - 1 : t.year;
    int month = t.month >= 1 && t.month <= 12 ? t.month : 1;
    int weekday = (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + t.day) % 7;
    return weekday < 0 ? weekday + 7 : weekday;
}

namespace {

// Days since 1 January 1970 of a proleptic Gregorian date, and back
// (the era arithmetic of the civil calendar).
long long daysFromCivil(int year, int month, int day) {
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, DateTime& t) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shifted = (5 * dayOfYear + 2) / 153;
    t.day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
    t.month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
    t.year = static_cast<int>(yearOfEra + era * 400 + (t.month <= 2 ? 1 : 0));
}

}  // namespace

DateTime addDays(const DateTime& t, int days) {
    DateTime moved = t;
    civilFromDays(daysFromCivil(t.year, t.month, t.day) + days, moved);
    return moved;
}

std::string formatDateTime(std::string_view pattern, const DateTime& t) {
    std::string out;
    char lastLetter = 0;
    for (std::size_t i = 0; i < pattern.size();) {
        char c = pattern[i];
        std::size_t n = charLength(pattern, i);
        if (n == 2 || !isLetter(c)) {
            if (n == 1 && (c == '"' || c == '\'')) {
                std::size_t close = findSingleByte(pattern, c, i + 1);
                if (close == std::string_view::npos) close = pattern.size();
                out.append(pattern.substr(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
            out.append(pattern.substr(i, n));
            i += n;
            continue;
        }
        std::size_t run = runLength(pattern, i);
        out += letterPart(upper(c), run, lastLetter == 'H', t, pattern.substr(i, run));
        lastLetter = upper(c);
        i += run;
    }
    return out;
}

std::optional<DateTime> readCompactDateTime(std::string_view text) {
    if (text.size() < 4) return std::nullopt;
    DateTime t;
    t.year = readGroup(text, 0, 4, 0);
    t.month = readGroup(text, 4, 2, 1);
    t.day = readGroup(text, 6, 2, 1);
    t.hour = readGroup(text, 8, 2, 0);
    t.minute = readGroup(text, 10, 2, 0);
    t.second = readGroup(text, 12, 2, 0);
    if (!isValidDateTime(t)) return std::nullopt;
    return t;
}

DateTime parseCompactDateTime(std::string_view text) {
    return readCompactDateTime(text).value_or(currentDateTime());
}

}  // namespace zel
