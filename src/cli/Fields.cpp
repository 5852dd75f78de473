// fields: lists the nodes whose fields mention a key, as the field window
// lists them ("holder : node : key=value"), and with --set, --replace or
// --delete changes that field in every listed node through the same engine.
// Changed holders are written only with --save. Like grep, the exit status
// tells whether anything was listed: 0 when it was, 1 when not, 2 on trouble.

#include "cli/Fields.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Edits.h"
#include "cli/Facts.h"
#include "dialogs/FieldEdit.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {

namespace {

constexpr int kListed = 0;
constexpr int kNothing = 1;

struct FieldsCall {
    std::string path;
    FieldQuery query;
    FieldAction action = FieldAction::Scan;
    std::string replacement;
    std::vector<std::string> holders;
    bool save = false;
};

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
        return kEditTrouble;
    }
    if (split.words.size() != 2) {
        io.usageError("wrong number of arguments for fields");
        return kEditTrouble;
    }
    const int edits = (split.all("--set").empty() ? 0 : 1) + (replace.empty() ? 0 : 1) +
                      (split.has("--delete") ? 1 : 0);
    if (edits > 1 || (edits == 1 && split.has("--not"))) {
        io.usageError("give at most one of --set, --replace and --delete, without --not");
        return kEditTrouble;
    }
    if (!replace.empty() && !split.all("--value").empty()) {
        io.usageError("--replace OLD is the value; do not give --value too");
        return kEditTrouble;
    }
    call.path = io.stored(split.words[0]);
    FieldQuery& query = call.query;
    std::string value = replace.empty() ? split.value("--value") : replace[0];
    std::string replacement = replace.empty() ? split.value("--set") : replace[1];
    if (!storedWhole(io, split.words[1], query.key) || !storedWhole(io, value, query.value) ||
        !storedWhole(io, replacement, call.replacement))
        return editTrouble(io, "Failure: a text cannot be held in Shift_JIS.");
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
    const bool edits = call.action == FieldAction::Set || call.action == FieldAction::Replace ||
                       call.action == FieldAction::Delete;
    VerbDocument held;
    Document& document = *held;
    if (int bad = openEdited(io, call.path, edits && call.save, document)) return bad;
    std::vector<MemoHolder*> holders;
    if (call.holders.empty()) {
        HolderList all;
        for (const auto& [name, holder] : document.file.listHolders_(all))
            holders.push_back(holder);
    }
    for (const std::string& name : call.holders) {
        MemoHolder* holder = document.file.holderByName_(name);
        if (!holder) return editTrouble(io, "No holder named " + name + " in " + call.path);
        holders.push_back(holder);
    }

    ScanResults lines;
    const FieldOutcome outcome =
        runFieldEdit(call.action, call.query, call.replacement, holders, {}, lines);
    if (outcome.result < 0) return editTrouble(io, outcome.status);
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
        else if (int bad = saveChangedHolders(io, document, outcome.changed.holders()))
            return bad;
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
