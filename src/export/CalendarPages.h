#pragma once
// Month calendars of holders whose node names begin with a date, and the
// plain list page the calendar dialog offers beside them. Both use the
// holder's "*HTML ..." templates (without the A, B, LEVEL and URL variants).

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "export/HtmlPieces.h"

namespace zel {

class MemoHolder;

// The day a node belongs to and the title after its date word.
struct NodeDay {
    std::optional<std::chrono::sys_days> day;  // none for a date that does not exist
    std::string title;
};
// The first word of `name` is the date word: of its first eight decimal
// digits, 1-4 are the year, 5-6 the month, 7-8 the day; a missing or zero
// part is `today`'s. "20240315 Dentist" is 15 March 2024, "Dentist" is
// today, "20240230" is no day at all.
NodeDay nodeDay(std::string_view name, const DateTime& today);

// The cells of a month page: from the Sunday on or before the 1st to the
// Saturday on or after the last day, so 4 to 6 whole weeks.
struct MonthGrid {
    std::chrono::sys_days first;
    int cells = 0;
};
MonthGrid monthGrid(int year, int month);

// The month page of the month that holds `date`: the grid with every day
// linking to its nodes (in list order), then those nodes. `nodes` are the
// holder's nodes in list order; `now` fills %DATE%, %TIME% and the day of
// nodes whose names carry no date.
void writeMonthPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                    const DateTime& date, const DateTime& now);
// Every content node with its memo text, whatever its kind, and no comments.
void writeListPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                   const DateTime& now);

}  // namespace zel
