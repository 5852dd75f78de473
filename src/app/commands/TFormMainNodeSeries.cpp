// The NewNode menu's series: one node per day of a year, a month or a week,
// or per number of a range, named through the holder's date or number format.

#include <algorithm>
#include <cstdlib>

#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/NumberFormat.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr const char* kDefaultDatePattern = "YYYYMMDD ddd ";
constexpr const char* kDefaultNumberPattern = "%.5d ";
constexpr int kDaysOfWeek = 7;
// A typing slip must not fill a holder with millions of nodes.
constexpr long long kLongestNumberSeries = 100000;
constexpr long long kLargestNumber = 999999999;

std::string patternOf(const MemoHolder& holder, std::string_view key, const char* fallback) {
    std::string pattern = stripQuotes(holder.getField_(key));
    return pattern.empty() ? fallback : pattern;
}

bool isLeapYear(int year) {
    return daysInMonth(year, 2) == 29;
}

constexpr long long kLatestYear = 9999;

// A year of 0 or more read from the whole trimmed text; -1 otherwise.
int readYear(std::string_view text) {
    const auto year = readInteger(text);
    return year && *year >= 0 && *year <= kLatestYear ? static_cast<int>(*year) : -1;
}

}  // namespace

int TFormMainScript::makeDateNodes(const DateTime& first, int count) {
    MemoHolder* holder = getCurHolder();
    if (!holder) return 0;
    const std::string pattern = patternOf(*holder, "FormatDate", kDefaultDatePattern);
    MemoNode* last = nullptr;
    for (int i = 0; i < count; ++i) {
        last = holder->makeNode_();
        last->putName_as_(formatDateTime(pattern, addDays(first, i)));
    }
    holder->changed = true;
    if (last) setCurMemoNode_(last);
    return count;
}

int TFormMainScript::makeYearNodes_(int year) {
    return makeDateNodes({year, 1, 1}, isLeapYear(year) ? 366 : 365);
}

int TFormMainScript::makeMonthNodes_(int year, int month) {
    if (month < 1 || month > 12) return 0;
    return makeDateNodes({year, month, 1}, daysInMonth(year, month));
}

int TFormMainScript::makeWeekNodes_(const DateTime& date) {
    // Weeks begin on Monday; dayOfWeek counts from Sunday.
    const int sinceMonday = (dayOfWeek(date) + 6) % kDaysOfWeek;
    return makeDateNodes(addDays(date, -sinceMonday), kDaysOfWeek);
}

int TFormMainScript::makeNumberNodes_(int first, int last) {
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    const std::string pattern = patternOf(*holder, "FormatNumber", kDefaultNumberPattern);
    int made = 0;
    for (int number = first; number <= last; ++number, ++made)
        holder->makeNode_()->putName_as_(formatNumber(pattern, number));
    holder->changed = true;
    refreshHolderList();
    return made;
}

namespace {

DateTime today() {
    DateTime now = currentDateTime();
    return {now.year, now.month, now.day};
}

}  // namespace

int TFormMainScript::UINodesYear() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string thisYear = formatDateTime("YYYY", today());
    const int year = readYear(prompter().inputBox("Year", "Year", thisYear));
    return year < 0 ? -1 : makeYearNodes_(year);
}

int TFormMainScript::UINodesNextYear() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeYearNodes_(today().year + 1);
}

int TFormMainScript::UINodesThisMonth() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeMonthNodes_(today().year, today().month);
}

int TFormMainScript::UINodesNextMonth() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const DateTime now = today();
    return now.month == 12 ? makeMonthNodes_(now.year + 1, 1)
                           : makeMonthNodes_(now.year, now.month + 1);
}

int TFormMainScript::UINodesMonth() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string answer =
        prompter().inputBox("Month", "Month", formatDateTime("YYYYMM", today()));
    if (answer.size() < 6) return kFailed;
    const int year = readYear(answer.substr(0, 4));
    const auto month = readInteger(answer.substr(4, 2));
    if (year < 0 || !month || *month < 1 || *month > 12) return kFailed;
    return makeMonthNodes_(year, static_cast<int>(*month));
}

int TFormMainScript::UINodesThisWeek() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeWeekNodes_(today());
}

int TFormMainScript::UINodesNextWeek() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeWeekNodes_(addDays(today(), kDaysOfWeek));
}

int TFormMainScript::UINodesPrevWeek() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeWeekNodes_(addDays(today(), -kDaysOfWeek));
}

int TFormMainScript::UINumberNodes() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    const std::string begin = trimText(prompter().inputBox("", "Begin Number", "1"));
    if (begin.empty()) return kFailed;
    const std::string end = trimText(prompter().inputBox("", "End Number", "200"));
    if (end.empty()) return kFailed;
    const auto first = readInteger(begin);
    const auto last = readInteger(end);
    if (!first || !last || std::llabs(*first) > kLargestNumber ||
        std::llabs(*last) > kLargestNumber || std::llabs(*last - *first) > kLongestNumberSeries)
        return kFailed;
    const auto [low, high] = std::minmax(*first, *last);
    return makeNumberNodes_(static_cast<int>(low), static_cast<int>(high));
}

int TFormMainScript::UINumbers10() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeNumberNodes_(1, 10);
}

int TFormMainScript::UINumbers100() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    return makeNumberNodes_(1, 100);
}

int TFormMainScript::UINumbersPlus10() {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    const int count = holder->count_();
    return makeNumberNodes_(count, count + 10);
}

}  // namespace zel
