// grep, scan and replace: the search windows' three runs over the holders of a
// document, listing the lines the windows list. Like grep, the exit status
// tells whether anything matched: 0 when it did, 1 when not, 2 on trouble.

#include "cli/Search.h"

#include <memory>
#include <ostream>

#include "cli/Document.h"
#include "cli/Edits.h"
#include "cli/Facts.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/HolderScan.h"
#include "search/MarkupKeywordProbe.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kMatched = 0;
constexpr int kNoMatch = 1;

struct SearchCall {
    ScanKind kind = ScanKind::Scan;
    std::string path;
    ScanRequest request;
    std::vector<std::string> holders;
    bool save = false;
};

// 0 with `call` filled, else the exit status of the usage error.
int parseCall(const ToolOutput& io, const std::vector<std::string>& args, SearchCall& call) {
    VerbArguments split;
    std::string error;
    const bool replace = call.kind == ScanKind::Replace;
    bool parsed =
        replace ? splitVerbArguments(
                      args,
                      {"--ignore-case", "-i", "--name", "--memo", "--comment", "--field", "--save"},
                      {"--holder"}, split, error)
                : splitVerbArguments(
                      args, {"--ignore-case", "-i", "--name", "--memo", "--comment", "--field"},
                      {"--holder"}, split, error);
    if (!parsed) {
        io.usageError(error);
        return kEditTrouble;
    }
    const std::size_t words = replace ? 3 : 2;
    if (split.words.size() != words) {
        io.usageError(std::string("wrong number of arguments for ") + (replace ? "replace"
                                                                       : call.kind == ScanKind::Grep
                                                                           ? "grep"
                                                                           : "scan"));
        return kEditTrouble;
    }
    call.path = io.stored(split.words[0]);
    ScanRequest& request = call.request;
    request.kind = call.kind;
    if (!storedWhole(io, split.words[1], request.keyword) ||
        (replace && !storedWhole(io, split.words[2], request.replacement)))
        return editTrouble(io, "Failure: KeyWord cannot be held in Shift_JIS.");
    if (request.keyword.empty()) return editTrouble(io, "KeyWord is Empty.");
    request.ignoreCase = split.has("--ignore-case") || split.has("-i");
    ScanSections& in = request.sections;
    in = {split.has("--name"), split.has("--memo"), split.has("--comment"), split.has("--field")};
    if (!in.name && !in.memo && !in.comment && !in.fields) in = {true, true, true, true};
    request.severalHolders = true;
    for (const std::string& name : split.all("--holder")) call.holders.push_back(io.stored(name));
    call.save = split.has("--save");
    return 0;
}

// Holders are read before the run; one that could not be read is searched
// with what it holds (nothing), as the window does with a missing file.
class ToolScanHost : public ScanHost {
  public:
    explicit ToolScanHost(const ToolOutput& io) : io_(io) {}
    void loadHolder(MemoHolder&) override {}
    void status(std::string_view) override {}
    bool breakRequested() override { return false; }
    void log(std::string_view text) override { io_.err << "zel-tool: " << io_.shown(text) << '\n'; }
    void holderReplaced(MemoHolder&) override {}

  private:
    const ToolOutput& io_;
};

std::string holderNameOf(const MemoNode* node) {
    const MemoBasic* holder = node ? node->enclosingRecord_() : nullptr;
    return holder ? holder->getName_() : std::string();
}

// "holder:node:" less the holder and the colons.
std::string_view nodeNameIn(std::string_view head, std::size_t holderLength) {
    if (head.size() < holderLength + 2) return {};
    return head.substr(holderLength + 1, head.size() - holderLength - 2);
}

// A record grep line: "Name:" + name, or label ":" hit ":" line ": " text.
Json grepJson(std::string_view holder, std::string_view node, std::string_view line) {
    Json entry{{"holder", jsonText(holder)}, {"node", jsonText(node)}};
    const std::size_t label = line.find(':');
    const std::string_view section = line.substr(0, label);
    std::string_view rest = line.substr(label + 1);
    entry["section"] = lowerText(section);
    if (section == "Name") {
        entry["hit"] = nullptr;
        entry["line"] = nullptr;
        entry["text"] = jsonText(rest);
        return entry;
    }
    const std::size_t hitEnd = rest.find(':');
    entry["hit"] = std::stoll(std::string(rest.substr(0, hitEnd)));
    rest.remove_prefix(hitEnd + 1);
    const std::size_t numberEnd = rest.find(": ");
    entry["line"] = std::stoll(trimText(rest.substr(0, numberEnd)));
    entry["text"] = jsonText(rest.substr(numberEnd + 2));
    return entry;
}

Json entriesJson(ScanKind kind, const ScanResults& results) {
    Json all = Json::array();
    for (std::size_t row = 0; row < results.size(); ++row) {
        const std::string holder = holderNameOf(results.node(row));
        if (kind == ScanKind::Scan) {
            all.push_back({{"holder", jsonText(holder)}, {"node", jsonText(results.tail(row))}});
            continue;
        }
        const std::string head = results.head(row);
        const std::string_view node = nodeNameIn(head, holder.size());
        if (kind == ScanKind::Grep)
            all.push_back(grepJson(holder, node, results.tail(row)));
        else
            all.push_back({{"holder", jsonText(holder)},
                           {"node", jsonText(node)},
                           {"change", jsonText(results.tail(row))}});
    }
    return all;
}

// The lines converted for the terminal a block at a time: a line break is
// never part of a character, and a stray byte before it is replaced alone, so
// a block converts as its lines one by one would.
void writeLines(const ToolOutput& io, const ScanResults& results) {
    constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    std::string block;
    block.reserve(kBlockBytes + 4096);
    for (std::size_t row = 0; row < results.size(); ++row) {
        results.appendText(row, block);
        block += '\n';
        if (block.size() >= kBlockBytes || row + 1 == results.size()) {
            io.out << io.shown(block);
            block.clear();
        }
    }
}

// Grep and scan read only the holder files whose bytes may hold the keyword:
// the others give no line, so they stay unread. Replace reads them all, as
// it writes the document back.
HolderFileWanted holdersToRead(const SearchCall& call) {
    if (call.kind == ScanKind::Replace) return {};
    auto probe =
        std::make_shared<MarkupKeywordProbe>(call.request.keyword, call.request.ignoreCase);
    if (!probe->selective()) return {};
    return [probe](const std::string& path) { return probe->fileMayHold(path); };
}

int runSearch(const ToolOutput& io, const std::vector<std::string>& args, ScanKind kind) {
    SearchCall call;
    call.kind = kind;
    if (int bad = parseCall(io, args, call)) return bad;
    VerbDocument held;
    Document& document = *held;
    if (int bad = openEdited(io, call.path, call.save, document, holdersToRead(call))) return bad;
    if (call.holders.empty()) {
        HolderList holders;
        for (const auto& [name, holder] : document.file.listHolders_(holders))
            call.holders.push_back(name);
    }
    for (const std::string& name : call.holders)
        if (!document.file.holderByName_(name))
            return editTrouble(io, "No holder named " + name + " in " + call.path);

    ToolScanHost host(io);
    ScanResults results;
    const ScanOutcome outcome = runScan(document.file, call.holders, call.request, host, results);
    if (io.json) {
        io.out << entriesJson(kind, results).dump(2) << '\n';
    } else {
        writeLines(io, results);
    }
    if (kind == ScanKind::Replace && !outcome.changedHolders.empty()) {
        if (!call.save) {
            io.err << "Nothing written without --save\n";
        } else {
            std::vector<MemoHolder*> changed;
            for (const std::string& name : outcome.changedHolders)
                changed.push_back(document.file.holderByName_(name));
            if (int bad = saveChangedHolders(io, document, changed)) return bad;
        }
    }
    return results.empty() ? kNoMatch : kMatched;
}

int runGrep(const ToolOutput& io, const std::vector<std::string>& args) {
    return runSearch(io, args, ScanKind::Grep);
}
int runScanVerb(const ToolOutput& io, const std::vector<std::string>& args) {
    return runSearch(io, args, ScanKind::Scan);
}
int runReplace(const ToolOutput& io, const std::vector<std::string>& args) {
    return runSearch(io, args, ScanKind::Replace);
}

}  // namespace

const ToolVerb kGrepVerb{
    "grep",
    "  grep FILE KEYWORD          every line of the holders' nodes that holds\n"
    "                            KEYWORD, as holder:node:Memo:000001:      3: text\n"
    "    --holder NAME           only these holders (repeatable; default all)\n"
    "    --name --memo --comment --field\n"
    "                            only these parts of the nodes (default all)\n"
    "    -i, --ignore-case       letters match in either case\n"
    "                            exit status: 0 matched, 1 no match, 2 trouble\n",
    true, runGrep};

const ToolVerb kScanVerb{
    "scan",
    "  scan FILE KEYWORD          the nodes that hold KEYWORD, as \"holder node\"\n"
    "                            (options and exit status as for grep)\n",
    true, runScanVerb};

const ToolVerb kReplaceVerb{
    "replace",
    "  replace FILE KEYWORD REPLACEMENT\n"
    "                            replace KEYWORD in the nodes and list each change\n"
    "                            (options and exit status as for grep); read-only\n"
    "                            holders and nodes stay; writes the changed\n"
    "                            holders only with --save, and nothing when a\n"
    "                            holder could not be read\n",
    true, runReplace};

}  // namespace zel
