// fields: lists the nodes whose fields mention a key, as the field window
// lists them ("holder : node : key=value"), and with --set, --replace or
// --delete changes that field in every listed node through the same engine.
// Changed holders are written only with --save. Like grep, the exit status
// tells whether anything was listed: 0 when it was, 1 when not, 2 on trouble.

#include "cli/Fields.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Facts.h"
#include "dialogs/FieldEdit.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"

namespace zel {

namespace {

constexpr int kListed = 0;
constexpr int kNothing = 1;
constexpr int kTrouble = 2;

struct FieldsCall {
    std::string path;
    FieldQuery query;
    FieldAction action = FieldAction::Scan;
    std::string replacement;
    std::vector<std::string> holders;
    bool save = false;
};

int trouble(const ToolOutput& io, std::string_view sjisMessage) {
    io.fail(sjisMessage);
    return kTrouble;
}

// A text typed as UTF-8 must survive the conversion whole: a "?" put in its
// place would be written into every listed node.
bool storedText(const ToolOutput& io, const std::string& argument, std::string& text) {
    if (io.raw) {
        text = argument;
        return true;
    }
    std::size_t replaced = 0;
    text = utf8ToSjis(argument, &replaced);
    return replaced == 0;
}

// --replace takes two values, which the option splitter does not know; they
// are taken out first.
bool takeReplace(std::vector<std::string>& args, std::vector<std::string>& values,
                 std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--replace") continue;
        if (i + 2 >= args.size()) {
            error = "--replace needs OLD and NEW";
            return false;
        }
        values = {args[i + 1], args[i + 2]};
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 3);
        return true;
    }
    return true;
}

int parseCall(const ToolOutput& io, std::vector<std::string> args, FieldsCall& call) {
    std::vector<std::string> replace;
    std::string error;
    VerbArguments split;
    if (!takeReplace(args, replace, error) ||
        !splitVerbArguments(args, {"--both", "--include", "--case", "--not", "--delete", "--save"},
                            {"--value", "--holder", "--set"}, split, error)) {
        io.usageError(error);
        return kTrouble;
    }
    if (split.words.size() != 2) {
        io.usageError("wrong number of arguments for fields");
        return kTrouble;
    }
    const int edits = (split.all("--set").empty() ? 0 : 1) + (replace.empty() ? 0 : 1) +
                      (split.has("--delete") ? 1 : 0);
    if (edits > 1 || (edits == 1 && split.has("--not"))) {
        io.usageError("give at most one of --set, --replace and --delete, without --not");
        return kTrouble;
    }
    if (!replace.empty() && !split.all("--value").empty()) {
        io.usageError("--replace OLD is the value; do not give --value too");
        return kTrouble;
    }
    call.path = io.stored(split.words[0]);
    FieldQuery& query = call.query;
    std::string value = replace.empty() ? split.value("--value") : replace[0];
    std::string replacement = replace.empty() ? split.value("--set") : replace[1];
    if (!storedText(io, split.words[1], query.key) || !storedText(io, value, query.value) ||
        !storedText(io, replacement, call.replacement))
        return trouble(io, "Failure: a text cannot be held in Shift_JIS.");
    query.valueOnly = split.has("--both");
    query.include = split.has("--include");
    query.ignoreCase = !split.has("--case");
    call.action = !split.all("--set").empty() ? FieldAction::Set
                  : !replace.empty()          ? FieldAction::Replace
                  : split.has("--delete")     ? FieldAction::Delete
                  : split.has("--not")        ? FieldAction::ScanNot
                                              : FieldAction::Scan;
    for (const std::string& name : split.all("--holder")) call.holders.push_back(io.stored(name));
    call.save = split.has("--save");
    return 0;
}

int saveChanged(const ToolOutput& io, Document& document, const ChangedHolders& changed) {
    std::string error;
    if (document.kind == FileKind::Container) {
        if (document.file.writeContainer_(document.path) < 0)
            return trouble(io, document.file.lastError());
        io.err << "Saved " << io.shown(document.path) << '\n';
        return kListed;
    }
    for (MemoHolder* holder : changed.holders()) {
        const std::string target = holderSource(document, *holder);
        if (saveHolderFile_(*holder, target, &error) < 0) return trouble(io, error);
        holder->changed = false;
        io.err << "Saved " << io.shown(target) << '\n';
    }
    return kListed;
}

Json linesJson(const ScanResults& lines, const std::string& key) {
    Json all = Json::array();
    for (std::size_t row = 0; row < lines.size(); ++row) {
        const MemoNode* node = lines.node(row);
        const MemoHolder* holder = node ? holderOf(*node) : nullptr;
        Json entry{{"holder", jsonText(holder ? holder->getName_() : std::string())},
                   {"node", jsonText(node ? node->getName_() : std::string())}};
        const std::string value = node ? node->getField_(key) : std::string();
        entry["value"] = node && node->fields.indexOf(key) >= 0 ? jsonText(value) : Json();
        all.push_back(std::move(entry));
    }
    return all;
}

int runFields(const ToolOutput& io, const std::vector<std::string>& args) {
    FieldsCall call;
    if (int bad = parseCall(io, args, call)) return bad;
    Document document;
    std::string error;
    if (openDocument(call.path, document, error) != 0) return trouble(io, error);
    for (const auto& problem : document.problems) io.err << io.shown(problem) << '\n';
    const bool edits = call.action == FieldAction::Set || call.action == FieldAction::Replace ||
                       call.action == FieldAction::Delete;
    if (edits && call.save && !document.problems.empty())
        return trouble(io, "Nothing written: " + call.path + " could not be read completely");
    std::vector<MemoHolder*> holders;
    if (call.holders.empty()) {
        HolderList all;
        for (const auto& [name, holder] : document.file.listHolders_(all))
            holders.push_back(holder);
    }
    for (const std::string& name : call.holders) {
        MemoHolder* holder = document.file.holderByName_(name);
        if (!holder) return trouble(io, "No holder named " + name + " in " + call.path);
        holders.push_back(holder);
    }

    ScanResults lines;
    const FieldOutcome outcome =
        runFieldEdit(call.action, call.query, call.replacement, holders, {}, lines);
    if (outcome.result < 0) return trouble(io, outcome.status);
    if (io.json) {
        Json changed = Json::array();
        for (const MemoHolder* holder : outcome.changed.holders())
            changed.push_back(jsonText(holder->getName_()));
        io.out << Json{{"lines", linesJson(lines, call.query.key)},
                       {"status", jsonText(outcome.status)},
                       {"changedHolders", changed}}
                      .dump(2)
               << '\n';
    } else {
        for (std::size_t row = 0; row < lines.size(); ++row)
            io.out << io.shown(lines.text(row)) << '\n';
        io.out << io.shown(outcome.status) << '\n';
    }
    if (!outcome.changed.empty()) {
        if (!call.save)
            io.err << "Nothing written without --save\n";
        else if (int failed = saveChanged(io, document, outcome.changed))
            return failed;
    }
    return lines.empty() ? kNothing : kListed;
}

}  // namespace

const ToolVerb kFieldsVerb{
    "fields",
    "  fields FILE KEY            the nodes whose fields mention KEY, as the field\n"
    "                            window lists them: holder : node : KEY=value\n"
    "    --holder NAME           only these holders (repeatable; default all)\n"
    "    --both                  only the value of KEY counts: equal to --value V\n"
    "    --include               (or, with --include, holding V)\n"
    "    --value V               the value of --both\n"
    "    --case                  letter case counts (ignored by default)\n"
    "    --not                   the nodes with fields that do not match\n"
    "    --set V                 KEY=\"V\" in every listed node\n"
    "    --replace OLD NEW       OLD replaced by NEW in the value of KEY (letter\n"
    "                            case ignored)\n"
    "    --delete                KEY removed from every listed node\n"
    "    --save                  write the changed holders (nothing when a holder\n"
    "                            could not be read); without it nothing is written\n"
    "                            exit status: 0 listed, 1 nothing listed, 2 trouble\n",
    true, runFields};

}  // namespace zel
