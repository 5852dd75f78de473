#pragma once
// What the layout and print verbs print, read from their words and options:
// the printer with its settings, the clock they fix, the document read, and
// the items in print order. zel-tool lays them out itself; printing to PDF
// needs Qt, so the zel program prepares the same request (PrintPdf.h).

#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/Document.h"
#include "cli/Tool.h"
#include "export/PrintNode.h"
#include "export/TextPrinter.h"
#include "platform/Clock.h"

namespace zel {

// One thing to print: a node's print, or a text file's lines.
struct PrintItem {
    const MemoNode* node = nullptr;  // none for a text file
    NodePrint print;
};

struct PrintRequest {
    TStringsPrinter printer;
    std::optional<ScopedClock> clock;
    Document document;
    std::vector<PrintItem> items;
};

// Splits `args` (the verb's own flag --marked, and `valued` options), fixes
// the clock (--now), reads the settings (the usual print settings file when
// `usualSettings`, or --settings, then --set and --title) and collects the
// items FILE [HOLDER] [NODE] names. 0, or the failure status after its message.
int preparePrint(const ToolOutput& io, const std::vector<std::string>& args, bool usualSettings,
                 std::initializer_list<std::string_view> valued, VerbArguments& split,
                 PrintRequest& request);

// "WIDTHxHEIGHT" of two numbers from 1 to 10000.
std::optional<std::pair<int, int>> printSizePair(std::string_view text);

// The options of the print verb besides --marked.
inline const std::initializer_list<std::string_view> kPrintOptions = {
    "--pdf", "--paper", "--settings", "--set", "--title", "--now"};

}  // namespace zel
