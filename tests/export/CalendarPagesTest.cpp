// Dates of nodes, the month grid of every month, and the month and list pages.

#include "export/CalendarPages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "export/ExportTestSupport.h"

namespace zel {
namespace {

using test::dayOf;
using test::NodeSpec;
using test::PageFixture;
using test::pageLines;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::chrono::sys_days ymd(int y, unsigned m, unsigned d) {
    return std::chrono::sys_days(std::chrono::year(y) / std::chrono::month(m) /
                                 std::chrono::day(d));
}

TEST(NodeDay, DateWordDigitsWithMissingPartsFromToday) {
    const DateTime today = test::fixedNow();
    struct Case {
        std::string_view name;
        std::optional<std::chrono::sys_days> day;
        std::string_view title;
    } cases[] = {
        {"20240315 Dentist", ymd(2024, 3, 15), "Dentist"},
        {"2024-03-15", ymd(2024, 3, 15), ""},
        {"Dentist", ymd(2024, 3, 5), ""},
        {"2023", ymd(2023, 3, 5), ""},
        {"202312 x", ymd(2023, 12, 5), "x"},
        {"00001100", ymd(2024, 11, 5), ""},             // zero parts are today's
        {"2024031599 late", ymd(2024, 3, 15), "late"},  // digits past eight ignored
        {"20241345", std::nullopt, ""},
        {"20240230 x", std::nullopt, "x"},
        {"20230229", std::nullopt, ""},
        {"20240229\tleap  day ", ymd(2024, 2, 29), "leap  day"},
    };
    for (const auto& c : cases) {
        const NodeDay got = nodeDay(c.name, today);
        EXPECT_EQ(got.day, c.day) << c.name;
        EXPECT_EQ(got.title, c.title) << c.name;
    }
}

TEST(MonthGrid, WholeWeeksFromSundayCoveringTheMonth) {
    // February 2026 starts on a Sunday and fills four weeks; June 2024 needs six.
    EXPECT_EQ(monthGrid(2026, 2).first, ymd(2026, 2, 1));
    EXPECT_EQ(monthGrid(2026, 2).cells, 28);
    EXPECT_EQ(monthGrid(2024, 6).first, ymd(2024, 5, 26));
    EXPECT_EQ(monthGrid(2024, 6).cells, 42);
    EXPECT_EQ(monthGrid(2024, 3).first, ymd(2024, 2, 25));
    EXPECT_EQ(monthGrid(2024, 3).cells, 42);
    EXPECT_EQ(monthGrid(2024, 2).cells, 35);
}

// A holder with one node per day of the month links every one of them.
TEST(MonthPage, EveryDayOfEveryMonthOf2024And2026IsOnItsPage) {
    for (int year : {2024, 2026}) {
        for (int month = 1; month <= 12; ++month) {
            PageFixture fixture;
            MemoHolder& holder = fixture.holder("d", {});
            const int days = daysInMonth(year, month);
            for (int day = 1; day <= days; ++day)
                PageFixture::add(holder, {formatDateTime("yyyymmdd", dayOf(year, month, day)) +
                                          " n" + std::to_string(day)});
            const Lines lines = pageLines([&](PageSink& sink) {
                writeMonthPage(sink, holder, PageFixture::listed(holder), dayOf(year, month, 9),
                               test::fixedNow());
            });
            const auto count = [&](std::string_view prefix) {
                return std::count_if(lines.begin(), lines.end(),
                                     [&](const std::string& l) { return l.starts_with(prefix); });
            };
            const std::string label = std::to_string(year) + "/" + std::to_string(month);
            EXPECT_EQ(count("<a name="), days) << label;
            EXPECT_EQ(count("<TR>"), monthGrid(year, month).cells / 7) << label;
            const std::string last = "<DIV align=right>" + std::to_string(days) + "</DIV>";
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
                return l.ends_with(last);
            })) << label;
        }
    }
}

TEST(MonthPage, MatchesTheGoldenPage) {
    PageFixture fixture;
    MemoHolder& holder =
        fixture.holder("diary", {{"20240305 Meeting", {"Agenda <1>"}, {}, {"room 2"}},
                                 {"Shopping", {"milk & eggs"}},
                                 {"20240305", {"plain"}},
                                 {"20240331 Easter <b>", {"egg"}},
                                 {"20240401 Fool", {"joke"}},
                                 {"20240230 x", {"never"}},
                                 {"*HTML NODE FOOTER", {"<!-- %NODE.NAME% -->"}}});
    const PageNodes nodes = PageFixture::listed(holder);
    const std::string page = linesText(pageLines([&](PageSink& sink) {
        writeMonthPage(sink, holder, nodes, dayOf(2024, 3, 15), test::fixedNow());
    }));
    EXPECT_EQ(page, test::goldenPage("month_page.html"));

    // Today outside the grid: the undated node is linked nowhere.
    DateTime later = test::fixedNow();
    later.month = 9;
    const std::string september = linesText(pageLines(
        [&](PageSink& sink) { writeMonthPage(sink, holder, nodes, dayOf(2024, 3, 1), later); }));
    EXPECT_THAT(september, ::testing::Not(HasSubstr("Shopping")));
    EXPECT_THAT(september,
                HasSubstr("<a href=\"#0\">Meeting</a><BR>\r\n<a href=\"#1\">*</a><BR>\r\n</TD>"));
}

TEST(MonthPage, CellsMarkWeekendsAndFirstDays) {
    PageFixture fixture;
    MemoHolder& holder = fixture.holder("d", {});
    const Lines lines = pageLines([&](PageSink& sink) {
        writeMonthPage(sink, holder, {}, dayOf(2026, 2, 14), test::fixedNow());
    });
    std::vector<std::string> cells;
    for (const auto& l : lines)
        if (l.starts_with("  <TD") && l.find("align=right") != std::string::npos)
            cells.push_back(l);
    ASSERT_EQ(cells.size(), 28u);
    EXPECT_EQ(cells.front(), "  <TD BGColor=#FFEEEE><DIV align=right>02/01</DIV>");
    EXPECT_EQ(cells[1], "  <TD><DIV align=right>2</DIV>");
    EXPECT_EQ(cells.back(), "  <TD BGColor=#EEFFEE><DIV align=right>28</DIV>");
    EXPECT_THAT(lines, ::testing::Contains("2026/02"));
}

TEST(ListPage, MatchesTheGoldenPage) {
    PageFixture fixture;
    MemoHolder& holder =
        fixture.holder("diary", {{"20240305 Meeting", {"Agenda <1>"}, {}, {"room 2"}},
                                 {"Shopping", {"milk & eggs"}},
                                 {"20240305", {"plain"}},
                                 {"20240331 Easter <b>", {"egg"}},
                                 {"20240401 Fool", {"joke"}},
                                 {"20240230 x", {"never"}},
                                 {"*HTML NODE FOOTER", {"<!-- %NODE.NAME% -->"}}});
    const std::string page = linesText(pageLines([&](PageSink& sink) {
        writeListPage(sink, holder, PageFixture::listed(holder), test::fixedNow());
    }));
    EXPECT_EQ(page, test::goldenPage("list_page.html"));
}

TEST(ListPage, BodyFooterExpandsWithTheLastContentNode) {
    PageFixture fixture;
    MemoHolder& holder =
        fixture.holder("h", {{"a"}, {"b"}, {"*HTML BODY FOOTER", {"%NODE.NAME%|%HOLDER.NAME%"}}});
    const Lines lines = pageLines([&](PageSink& sink) {
        writeListPage(sink, holder, PageFixture::listed(holder), test::fixedNow());
    });
    ASSERT_GE(lines.size(), 3u);
    EXPECT_THAT(std::vector<std::string>(lines.end() - 3, lines.end()),
                ElementsAre("b|h", "</BODY>", "</HTML>"));
}

}  // namespace
}  // namespace zel
