// layout and print: the text printer without the window. Both take a memo
// file (FILE [HOLDER] [NODE]), a holder file (FILE [NODE], or FILE HOLDER
// NODE with its own holder's name) or any other file, read as Shift_JIS text
// lines; without NODE every node of the holder is printed in order
// (--marked: only the marked ones), as [Holder] Prints does.

#include "cli/Print.h"

#include <optional>
#include <ostream>

#include "cli/HandOver.h"
#include "cli/PrintRequest.h"
#include "export/PrintFixedMetrics.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

std::optional<std::pair<int, int>> printSizePair(std::string_view text) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    auto a = readInteger(text.substr(0, x)), b = readInteger(text.substr(x + 1));
    if (!a || !b || *a < 1 || *b < 1 || *a > 10000 || *b > 10000) return std::nullopt;
    return std::pair<int, int>(static_cast<int>(*a), static_cast<int>(*b));
}

namespace {

// The settings: the usual print settings file (when `usual`) or --settings,
// then every --set, then --title.
int readSettings(const ToolOutput& io, const VerbArguments& split, bool usual,
                 TStringsPrinter& printer) {
    const std::string file = io.stored(split.value("--settings"));
    StoreLoad loaded = StoreLoad::Empty;
    if (!file.empty()) {
        if (!fileExists(file)) return io.fail("No print settings file " + file);
        loaded = printer.loadFromFile_(file, kPrintSettingsSection, kPrintSettingsPrefix);
    } else if (usual) {
        loaded = loadPrintSettings_(printer, printSettingsFiles());
    }
    if (loaded == StoreLoad::Invalid || loaded == StoreLoad::Unreadable)
        return io.fail("The print settings could not be read; nothing was printed");
    for (const std::string& assignment : split.all("--set")) {
        const std::string stored = io.stored(assignment);
        const std::size_t equals = stored.find('=');
        if (equals == std::string::npos ||
            !setPrintProperty(printer.settings, stored.substr(0, equals),
                              stored.substr(equals + 1)))
            return io.usageError("cannot set " + assignment);
    }
    if (!split.value("--title").empty())
        printer.settings.setFileName(io.stored(split.value("--title")));
    return 0;
}

int readNow(const ToolOutput& io, const VerbArguments& split, std::optional<ScopedClock>& clock) {
    const std::string stamp = split.value("--now");
    if (stamp.empty()) return 0;
    const std::optional<DateTime> now = readCompactDateTime(stamp);
    if (!now || stamp.size() != 14 || !isAllDigits(stamp))
        return io.usageError("--now wants YYYYMMDDhhnnss, not " + stamp);
    clock.emplace([at = *now] { return at; });
    return 0;
}

// What FILE [HOLDER] [NODE] names, as items in print order.
int collectItems(const ToolOutput& io, const VerbArguments& split, PrintRequest& request) {
    const std::vector<std::string>& words = split.words;
    if (words.empty() || words.size() > 3) return io.usageError("wrong number of arguments");
    const std::string path = io.stored(words[0]);
    if (kindOfPath(path) == FileKind::Unknown) {
        if (words.size() > 1) return io.usageError("a text file names no holder or node");
        std::string text;
        if (IoResult read = readFile(path, text); !read) return io.fail(read.message);
        PrintItem item;
        item.print.title = request.printer.settings.fileName();
        item.print.lines = textLines(text);
        request.items.push_back(std::move(item));
        return 0;
    }
    std::string error;
    Document& document = request.document;
    if (openDocument(path, document, error) != 0) return io.fail(error);
    // A holder file's words are FILE [NODE], or FILE HOLDER NODE with its
    // own holder's name.
    const bool holderNamed = !document.isHolderFile() || words.size() > 2;
    const std::string holderName = holderNamed && words.size() > 1 ? io.stored(words[1]) : "";
    MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");

    const std::size_t nodeWord = holderNamed ? 2 : 1;
    std::vector<const MemoNode*> nodes;
    if (words.size() > nodeWord) {
        const std::string nodeName = io.stored(words[nodeWord]);
        const MemoNode* node = chooseNode(*holder, nodeName);
        if (!node)
            return io.fail("No node named " + nodeName + " in the holder " + holder->getName_());
        nodes.push_back(node);
    } else {
        for (MemoNode* node = holder->first_(); node; node = holder->next_(node))
            if (!split.has("--marked") || node->isMarked_()) nodes.push_back(node);
        if (nodes.empty()) return io.fail("Count of Node marked is 0");
    }
    const DateTime now = clockNow();
    for (const MemoNode* node : nodes)
        request.items.push_back(PrintItem{node, nodePrintOf(*node, holder->getName_(), now)});
    return 0;
}

}  // namespace

int preparePrint(const ToolOutput& io, const std::vector<std::string>& args, bool usualSettings,
                 std::initializer_list<std::string_view> valued, VerbArguments& split,
                 PrintRequest& request) {
    std::string error;
    if (!splitVerbArguments(args, {"--marked"}, valued, split, error)) return io.usageError(error);
    if (int bad = readNow(io, split, request.clock)) return bad;
    if (int bad = readSettings(io, split, usualSettings, request.printer)) return bad;
    return collectItems(io, split, request);
}

namespace {

std::string quoted(const ToolOutput& io, std::string_view text) {
    return "\"" + io.shown(text) + "\"";
}

int runLayout(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    PrintRequest request;
    if (int bad = preparePrint(
            io, args, false,
            {"--paper", "--dpi", "--cell", "--border", "--settings", "--set", "--title", "--now"},
            split, request))
        return bad;
    FixedPrintShape shape;
    if (!split.value("--paper").empty()) {
        auto paper = printSizePair(split.value("--paper"));
        if (!paper) return io.usageError("--paper wants WIDTHxHEIGHT in millimetres");
        std::tie(shape.paperWidthMm, shape.paperHeightMm) = *paper;
    }
    if (!split.value("--cell").empty()) {
        auto cell = printSizePair(split.value("--cell"));
        if (!cell) return io.usageError("--cell wants WIDTHxHEIGHT in pixels");
        std::tie(shape.cellWidth, shape.lineHeight) = *cell;
    }
    for (auto [option, target, high] :
         {std::tuple{"--dpi", &shape.dpi, 100000}, std::tuple{"--border", &shape.borderMm, 100}}) {
        if (split.value(option).empty()) continue;
        auto value = readInteger(split.value(option));
        if (!value || *value < (target == &shape.dpi ? 1 : 0) || *value > high)
            return io.usageError(std::string(option) + " is out of range");
        *target = static_cast<int>(*value);
    }
    const PrintFixedMetrics metrics(shape);

    for (PrintItem& item : request.items) {
        if (item.node) io.out << "J " << quoted(io, item.print.title) << '\n';
        switch (item.print.kind) {
            case NodePrintKind::Image:
                io.out << "I " << quoted(io, item.print.caption) << '\n';
                continue;
            case NodePrintKind::Document:
                io.out << "D " << quoted(io, item.print.text) << '\n';
                continue;
            case NodePrintKind::Lines:
                break;
        }
        if (item.node) request.printer.settings.setFileName(item.print.title);
        PrintDocument document;
        if (request.printer.renderPages_(item.print.lines, metrics, {}, document) !=
            LayoutResult::Done)
            return io.fail(kTextAreaTooSmall);
        for (const std::string& line : printLayoutDump(document, request.printer.settings))
            io.out << io.shown(line) << '\n';
    }
    return 0;
}

// Printing paints through Qt Print Support, which the window program has and
// zel-tool does not link: the verb runs there, with the same words.
int runPrint(const ToolOutput& io, const std::vector<std::string>& args) {
    std::vector<std::string> command = {"--print"};
    if (io.raw) command.emplace_back("--raw");
    command.insert(command.end(), args.begin(), args.end());
    return handOverToWindowProgram(io, command, "printing");
}

}  // namespace

const ToolVerb kLayoutVerb = {
    "layout",
    "  layout FILE [HOLDER] [NODE] | layout TEXTFILE\n"
    "                            where the text printer puts each text: per page\n"
    "                            \"P page number printed(1|0)\", then H|N|T|F x y\n"
    "                            \"text\" (header, line number, text, footer) in\n"
    "                            pixels of fixed metrics: --paper WxH mm (210x297),\n"
    "                            --dpi R (254), --cell CWxH px (10x20), --border MM;\n"
    "                            --settings INI, --set Key=Value, --title T, --now,\n"
    "                            --marked (only marked nodes)\n",
    false, runLayout};

const ToolVerb kPrintVerb = {
    "print",
    "  print FILE [HOLDER] [NODE] --pdf OUT | print TEXTFILE --pdf OUT\n"
    "                            prints a node, every node of a holder (--marked:\n"
    "                            the marked ones) or a text file into the PDF OUT\n"
    "                            with the print settings of zelprint.ini (or\n"
    "                            --settings INI, --set Key=Value, --title T);\n"
    "                            --paper WxH mm (A4); runs in the zel program\n",
    false, runPrint};

}  // namespace zel
