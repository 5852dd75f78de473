// export-html and calendar: a holder page, a node page, the holder list page,
// a month calendar or the list page of a memo file's holder, written where
// the window writes them (or into --out DIR). The written path is printed;
// --now fixes the clock for %DATE%, %TIME% and "today".

#include "cli/Export.h"

#include <optional>
#include <ostream>

#include "cli/Document.h"
#include "export/CalendarPages.h"
#include "export/HtmlNodes.h"
#include "export/HtmlOutput.h"
#include "export/HtmlPages.h"
#include "model/MemoHolder.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The options both verbs share, read once the words are split.
struct PageOptions {
    std::string outDir;  // empty, or ending in "/"
    std::optional<ScopedClock> clock;
};

int readOptions(const ToolOutput& io, const VerbArguments& split, PageOptions& options) {
    options.outDir = io.stored(split.value("--out"));
    if (!options.outDir.empty() && options.outDir.back() != '/') options.outDir += '/';
    if (split.value("--now").empty()) return 0;
    const std::string stamp = split.value("--now");
    const std::optional<DateTime> now = readCompactDateTime(stamp);
    if (!now || stamp.size() != 14 || !isAllDigits(stamp))
        return io.usageError("--now wants YYYYMMDDhhnnss, not " + stamp);
    options.clock.emplace([at = *now] { return at; });
    return 0;
}

std::string placed(const PageOptions& options, const std::string& path) {
    return options.outDir.empty() ? path : options.outDir + fileNameOf(path);
}

int openHolder(const ToolOutput& io, const std::string& path, const std::string& holderName,
               Document& document, MemoHolder*& holder) {
    std::string error;
    if (openDocument(path, document, error) != 0) return io.fail(error);
    holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");
    return 0;
}

std::vector<std::string> protectedFiles(const Document& document) {
    std::vector<std::string> files = dataFilesOf(document.file);
    files.push_back(document.path);
    return files;
}

int writePage(const ToolOutput& io, const std::string& path, const Document& document,
              const std::function<void(PageSink&)>& produce) {
    const IoResult result = savePage(path, protectedFiles(document), produce);
    if (!result) return io.fail(pageFailureText(path, result));
    io.out << io.shown(path) << '\n';
    return 0;
}

int runExportHtml(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--holders"}, {"--out", "--now"}, split, error))
        return io.usageError(error);
    const bool holders = split.has("--holders");
    const std::size_t words = split.words.size();
    if (words < 1 || words > (holders ? 1u : 3u))
        return io.usageError("wrong number of arguments for export-html");
    PageOptions options;
    if (int bad = readOptions(io, split, options)) return bad;
    const std::string path = io.stored(split.words[0]);

    VerbDocument held;

    Document& document = *held;
    MemoHolder* holder = nullptr;
    if (holders) {
        if (openDocument(path, document, error) != 0) return io.fail(error);
        const std::string folder = options.outDir.empty() ? currentDirectory() : options.outDir;
        return writePage(io, holderListPagePath(document.file, folder), document,
                         [&](PageSink& sink) { writeHolderListPage(sink, document.file); });
    }
    if (int bad =
            openHolder(io, path, words > 1 ? io.stored(split.words[1]) : "", document, holder))
        return bad;
    const std::string holderFile = holderSource(document, *holder);
    const PageNodes nodes = pageNodesOf(*holder);
    const DateTime now = clockNow();
    if (words < 3) {
        return writePage(io, placed(options, holderPagePath(holderFile)), document,
                         [&](PageSink& sink) { writeHolderPage(sink, *holder, nodes, now); });
    }
    const std::string nodeName = io.stored(split.words[2]);
    const MemoNode* node = chooseNode(*holder, nodeName);
    if (!node) return io.fail("No node named " + nodeName + " in the holder " + holder->getName_());
    const PageNode* entry = nullptr;
    for (const PageNode& listed : nodes)
        if (listed.node == node) entry = &listed;
    if (!entry) return io.fail("The node " + nodeName + " is not listed in its holder");
    // The window's save dialog offers this page; here it is taken as it
    // stands. The node names the page, never its folder.
    const std::string folder =
        options.outDir.empty() ? std::string(folderOf(holderFile)) : options.outDir;
    return writePage(io, nodePagePath(folder, *node), document,
                     [&](PageSink& sink) { writeNodePage(sink, *holder, nodes, *entry, now); });
}

std::optional<int> numberIn(std::string_view text, int lowest, int highest) {
    const std::optional<long long> value = readInteger(text);
    if (!value || *value < lowest || *value > highest) return std::nullopt;
    return static_cast<int>(*value);
}

int runCalendar(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--list"}, {"--day", "--out", "--now"}, split, error))
        return io.usageError(error);
    if (split.words.size() != 4) return io.usageError("wrong number of arguments for calendar");
    PageOptions options;
    if (int bad = readOptions(io, split, options)) return bad;
    const std::optional<int> year = numberIn(split.words[2], 1, 9999);
    const std::optional<int> month = numberIn(split.words[3], 1, 12);
    if (!year || !month)
        return io.usageError("calendar wants a YEAR of 1-9999 and a MONTH of 1-12");
    DateTime date;
    date.year = *year;
    date.month = *month;
    const std::string dayText = split.value("--day", "1");
    const std::optional<int> day = numberIn(dayText, 1, daysInMonth(*year, *month));
    if (!day) return io.usageError("no day " + dayText + " in that month");
    date.day = *day;

    VerbDocument held;

    Document& document = *held;
    MemoHolder* holder = nullptr;
    if (int bad =
            openHolder(io, io.stored(split.words[0]), io.stored(split.words[1]), document, holder))
        return bad;
    const std::string holderFile = holderSource(document, *holder);
    const PageNodes nodes = pageNodesOf(*holder);
    const DateTime now = clockNow();
    if (split.has("--list")) {
        return writePage(
            io, placed(options, calendarPagePath(holderFile, date, CalendarLayout::Week)), document,
            [&](PageSink& sink) { writeListPage(sink, *holder, nodes, now); });
    }
    return writePage(io, placed(options, calendarPagePath(holderFile, date, CalendarLayout::Month)),
                     document,
                     [&](PageSink& sink) { writeMonthPage(sink, *holder, nodes, date, now); });
}

}  // namespace

const ToolVerb kExportHtmlVerb = {
    "export-html",
    "  export-html FILE [HOLDER] [NODE]\n"
    "                            the HTML page of a holder (default: the current\n"
    "                            one) beside its file, or of one node (named\n"
    "                            after its Filename, else link.html); with\n"
    "                            --holders the holder list page in the current\n"
    "                            folder. --out DIR writes into DIR instead;\n"
    "                            --now YYYYMMDDhhnnss fixes %DATE% and %TIME%.\n"
    "                            A file that is not a page made here is never\n"
    "                            replaced\n",
    false, runExportHtml};

const ToolVerb kCalendarVerb = {
    "calendar",
    "  calendar FILE HOLDER YEAR MONTH\n"
    "                            the month calendar page of the holder beside its\n"
    "                            file (HOLDER_YYYYMM.html); --list writes the list\n"
    "                            page of every node instead, named after --day D\n"
    "                            (HOLDER_YYYYMMDD.html); --out DIR, --now as above\n",
    false, runCalendar};

}  // namespace zel
