#include "export/CalendarPages.h"

#include <vector>

#include "model/MemoHolder.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

int numberOf(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// A part of the date word, or `fallback` when it is missing or zero.
int partOr(std::string_view digits, std::size_t from, std::size_t length, int fallback) {
    if (digits.size() <= from) return fallback;
    const int value = numberOf(digits.substr(from, length));
    return value == 0 ? fallback : value;
}

DateTime dateOf(sys_days days) {
    const year_month_day ymd(days);
    DateTime t;
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    return t;
}

PageContext holderContext(const MemoHolder& holder, const DateTime& now) {
    return PageContext{holder.getName_(), true, now};
}

// Header, anchor, body and footer of one node below the grid or the contents.
template <typename Body>
void putNodeSection(PageSink& sink, const PageTemplates& templates, const PageContext& context,
                    const PageNode& entry, std::size_t anchor, Body body) {
    if (const MemoNode* header = templates.get(PageTemplate::NodeHeader))
        putTemplate(sink, header, context, &entry.name);
    else
        putDefaultNodeHeader(sink, entry.name);
    sink.join({"<a name=\"", std::to_string(anchor), "\"></a>"});
    body(entry);
    putTemplate(sink, templates.get(PageTemplate::NodeFooter), context, &entry.name);
}

void putPageEnd(PageSink& sink, const PageTemplates& templates, const PageContext& context,
                const PageNodes& listed) {
    putTemplate(sink, templates.get(PageTemplate::BodyFooter), context,
                listed.empty() ? nullptr : &listed.back().name);
    sink.line("</BODY>");
    sink.line("</HTML>");
}

constexpr std::string_view kWeekdayRow[] = {
    "<TR BGColor=#EEEEEE>",
    "  <TD BGColor=#FFEEEE><DIV align=center>SUN</DIV></TD>",
    "  <TD><DIV align=center>MON</DIV></TD>",
    "  <TD><DIV align=center>TUE</DIV></TD>",
    "  <TD><DIV align=center>WED</DIV></TD>",
    "  <TD><DIV align=center>THU</DIV></TD>",
    "  <TD><DIV align=center>FRI</DIV></TD>",
    "  <TD BGColor=#EEFFEE><DIV align=center>SAT</DIV></TD>",
    "</TR>",
};

}  // namespace

NodeDay nodeDay(std::string_view name, const DateTime& today) {
    auto [word, title] = splitFirstWord(name);
    std::string digits = digitsOnly(trimText(word));
    if (digits.size() > 8) digits.resize(8);
    const year_month_day ymd{year(partOr(digits, 0, 4, today.year)),
                             month(static_cast<unsigned>(partOr(digits, 4, 2, today.month))),
                             day(static_cast<unsigned>(partOr(digits, 6, 2, today.day)))};
    NodeDay result;
    if (ymd.ok()) result.day = sys_days(ymd);
    result.title = std::move(title);
    return result;
}

MonthGrid monthGrid(int yearNumber, int monthNumber) {
    using std::chrono::days;
    using std::chrono::weekday;
    const auto ym = year(yearNumber) / month(static_cast<unsigned>(monthNumber));
    const sys_days firstOfMonth = sys_days(ym / 1);
    const sys_days lastOfMonth = sys_days(ym / std::chrono::last);
    const sys_days first = firstOfMonth - days(weekday(firstOfMonth).c_encoding());
    const sys_days last = lastOfMonth + days(6 - weekday(lastOfMonth).c_encoding());
    return MonthGrid{first, static_cast<int>((last - first).count()) + 1};
}

void writeMonthPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                    const DateTime& date, const DateTime& now) {
    PageNodes content;
    const PageTemplates templates(nodes, &content);
    const bool comments = templates.commentsOn();
    const PageContext context = holderContext(holder, now);
    putPageStart(sink, templates, context, context.holderName, nullptr);

    sink.line("<CENTER>");
    sink.line(formatDateTime("yyyy/mm", date));
    sink.line("<TABLE BORDER>");
    for (std::string_view line : kWeekdayRow) sink.line(line);

    // Each node is dated once and filed under its cell.
    const MonthGrid grid = monthGrid(date.year, date.month);
    std::vector<std::vector<std::pair<std::size_t, std::string>>> byCell(
        static_cast<std::size_t>(grid.cells));
    for (std::size_t i = 0; i < content.size(); ++i) {
        NodeDay dated = nodeDay(content[i].name, now);
        if (!dated.day) continue;
        const auto cell = (*dated.day - grid.first).count();
        if (cell < 0 || cell >= grid.cells) continue;
        byCell[static_cast<std::size_t>(cell)].emplace_back(i, std::move(dated.title));
    }

    PageNodes linked;
    for (int q = 0; q < grid.cells; ++q) {
        const DateTime cellDay = dateOf(grid.first + std::chrono::days(q));
        const int weekday = q % 7;
        if (weekday == 0) sink.line("<TR>");
        const std::string_view start = weekday == 0   ? "  <TD BGColor=#FFEEEE>"
                                       : weekday == 6 ? "  <TD BGColor=#EEFFEE>"
                                                      : "  <TD>";
        sink.join(
            {start, "<DIV align=right>",
             cellDay.day == 1 ? formatDateTime("mm/dd", cellDay) : std::to_string(cellDay.day),
             "</DIV>"});
        for (const auto& [index, title] : byCell[static_cast<std::size_t>(q)]) {
            const std::string shown = trimmedView(title).empty() ? "*" : escapeMarkup(title);
            sink.join({"<a href=\"#", std::to_string(linked.size()), "\">", shown, "</a><BR>"});
            linked.push_back(content[index]);
        }
        sink.line("</TD>");
        if (weekday == 6) sink.line("</TR>");
    }
    sink.line("</TABLE>");
    sink.line("</CENTER>");
    sink.line("<HR>");

    for (std::size_t k = 0; k < linked.size(); ++k)
        putNodeSection(sink, templates, context, linked[k], k,
                       [&](const PageNode& entry) { putNodeBody(sink, entry, comments); });
    putPageEnd(sink, templates, context, linked);
}

void writeListPage(PageSink& sink, const MemoHolder& holder, const PageNodes& nodes,
                   const DateTime& now) {
    PageNodes content;
    const PageTemplates templates(nodes, &content);
    const PageContext context = holderContext(holder, now);
    putPageStart(sink, templates, context, context.holderName, nullptr);
    for (std::size_t i = 0; i < content.size(); ++i)
        sink.join(
            {"<a href=\"#", std::to_string(i), "\">", escapeMarkup(content[i].name), "</a><BR>"});
    sink.line("<HR>");
    for (std::size_t i = 0; i < content.size(); ++i)
        putNodeSection(sink, templates, context, content[i], i, [&](const PageNode& entry) {
            for (const auto& line : entry.node->memo) sink.join({escapeMarkup(line), "<BR>"});
        });
    putPageEnd(sink, templates, context, content);
}

}  // namespace zel
