#include "dialogs/FieldEdit.h"

#include <algorithm>

#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineMatcher.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::size_t kBreakEvery = 50;

// The keyword occurs in `text` starting a character: "a" never matches the
// second byte of a double-byte character.
bool containsOnBoundary(const LineMatcher& matcher, std::string_view text) {
    std::size_t boundary = 0;
    for (std::size_t hit = matcher.find(text); hit != std::string_view::npos;
         hit = matcher.find(text, hit + 1)) {
        while (boundary < hit) boundary += charLength(text, boundary);
        if (boundary == hit) return true;
    }
    return false;
}

// The prepared form of a query, made once per run.
class FieldCondition {
  public:
    explicit FieldCondition(const FieldQuery& query)
        : query_(query), matcher_(query.valueOnly ? query.value : query.key, query.ignoreCase) {}

    bool meets(const MemoNode& node) const {
        const FieldList& fields = node.fields;
        if (!query_.valueOnly) {
            if (matcher_.spansLines()) return containsOnBoundary(matcher_, fields.text());
            for (std::size_t i = 0; i < fields.size(); ++i)
                if (containsOnBoundary(matcher_, fields[i])) return true;
            return false;
        }
        const std::string_view value = unquotedView(fields.value(query_.key));
        if (!query_.include)
            return query_.ignoreCase ? sameText(value, query_.value) : value == query_.value;
        return matcher_.empty() || containsOnBoundary(matcher_, value);
    }

  private:
    const FieldQuery& query_;
    LineMatcher matcher_;
};

std::string nameOfHolder(const MemoNode& node) {
    const MemoHolder* holder = holderOf(node);
    return holder ? holder->getName_() : std::string();
}

// "holder : node : key=value", or without the field part.
void addLine(ScanResults& lines, const MemoNode& node, std::string_view holderName,
             std::string_view nodeName, const std::string* key, std::string_view value) {
    if (key)
        lines.add(&node, {holderName, " : ", nodeName, " : ", *key, "=", value});
    else
        lines.add(&node, {holderName, " : ", nodeName});
}

std::string scanStatus(bool invert, std::size_t count, const std::string& key) {
    const char* kind = invert ? " Not " : " ";
    if (count == 0) return std::string("*Done:") + kind + "Scan Filed No match";
    return std::string("*Done:") + kind + "Scan Field count=" + std::to_string(count) +
           " KeyWord=" + key;
}

// Lists the nodes meeting the query (or, inverted, those that do not).
bool scanHolders(const FieldQuery& query, bool invert, const std::vector<MemoHolder*>& holders,
                 const HolderAccess& access, ScanResults& lines) {
    const FieldCondition condition(query);
    std::size_t visited = 0;
    NodeList nodes;
    for (MemoHolder* holder : holders) {
        if (!holder) continue;
        if (!holder->loaded && access.load) access.load(*holder);
        const std::string holderName = holder->getName_();
        nodes.clear();
        holder->setNodeList_(nodes);
        for (const auto& [name, node] : nodes) {
            if (++visited % kBreakEvery == 0 && access.breakRequested && access.breakRequested())
                return false;
            if (node->fields.empty()) continue;
            if (condition.meets(*node) == invert) continue;
            addLine(lines, *node, holderName, name, &query.key, node->getField_(query.key));
        }
    }
    return true;
}

// Applies `change` to each listed node that still exists (true when it
// changed the node) and rewrites the lines with `after` (the value shown
// after the key, or none for a line without the field). A node of a
// read-only holder keeps its field and its line.
template <class Change, class Shown>
int changeListed(ScanResults& lines, const std::string& key, bool withField, FieldOutcome& outcome,
                 Change change, Shown shown) {
    ScanResults rewritten;
    int changedCount = 0;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        MemoNode* node = lines.node(row);
        if (!node || outcome.changed.refuses(*node)) {
            rewritten.add(node, {lines.text(row)});
            continue;
        }
        if (change(*node)) {
            outcome.changed.add(*node);
            ++changedCount;
        }
        const std::string holderName = nameOfHolder(*node);
        const std::string nodeName = node->getName_();
        addLine(rewritten, *node, holderName, nodeName, withField ? &key : nullptr, shown(*node));
    }
    lines = std::move(rewritten);
    return changedCount;
}

}  // namespace

bool isStorableFieldKey(std::string_view key) {
    if (key.empty()) return false;
    for (std::size_t i = 0; i < key.size(); i += charLength(key, i)) {
        if (charLength(key, i) == 2) continue;
        const auto c = static_cast<unsigned char>(key[i]);
        if (c <= 0x20 || c == 0x7F) return false;
        if (std::string_view("\"<>=/&").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    }
    return true;
}

std::string_view fieldRunRefusal(const FieldQuery& query, std::size_t holderCount) {
    if (query.key.empty()) return kFieldIsEmpty;
    if (holderCount == 0) return kNoHolderSelected;
    return {};
}

bool meetsFieldQuery(const MemoNode& node, const FieldQuery& query) {
    return FieldCondition(query).meets(node);
}

FieldOutcome runFieldEdit(FieldAction action, const FieldQuery& query, std::string_view replacement,
                          const std::vector<MemoHolder*>& holders, const HolderAccess& access,
                          ScanResults& lines) {
    FieldOutcome outcome;
    if (std::string_view refusal = fieldRunRefusal(query, holders.size()); !refusal.empty()) {
        outcome.status = refusal;
        return outcome;
    }
    if (action == FieldAction::Set && !isStorableFieldKey(query.key)) {
        outcome.status = kBadFieldKey;
        return outcome;
    }
    lines.clear();
    const bool invert = action == FieldAction::ScanNot;
    const bool complete = scanHolders(query, invert, holders, access, lines);
    const std::string& key = query.key;
    if (!complete) {
        outcome.broken = true;
        outcome.status =
            "Break: Scan Field count=" + std::to_string(lines.size()) + " KeyWord=" + key;
        if (action == FieldAction::Scan || action == FieldAction::ScanNot)
            outcome.result = static_cast<int>(lines.size());
        return outcome;
    }
    const int listed = static_cast<int>(lines.size());
    if (action == FieldAction::Scan || action == FieldAction::ScanNot) {
        outcome.result = listed;
        outcome.status = scanStatus(invert, lines.size(), key);
        return outcome;
    }
    if (listed == 0) {
        outcome.result = 0;
        outcome.status = kNoMemoNode;
        return outcome;
    }
    auto storedValue = [&](const MemoNode& node) { return node.getField_(key); };
    switch (action) {
        case FieldAction::Set: {
            outcome.usedReplacement = true;
            const std::string value = "\"" + std::string(replacement) + "\"";
            changeListed(
                lines, key, true, outcome,
                [&](MemoNode& node) {
                    if (node.getField_(key) == value) return false;
                    node.putField_(key, value);
                    return true;
                },
                storedValue);
            outcome.result = listed;
            outcome.status = "*Done: Set count=" + std::to_string(listed) + " KeyWord=" + key;
            break;
        }
        case FieldAction::Replace: {
            outcome.usedReplacement = true;
            // Always letter case ignored; an empty find text finds nothing.
            const LineMatcher find(query.value, true);
            const int replaced = changeListed(
                lines, key, true, outcome,
                [&](MemoNode& node) {
                    std::string value = node.getField_(key);
                    if (find.empty() || !find.replaceAll(value, replacement)) return false;
                    node.putField_(key, value);
                    return true;
                },
                storedValue);
            outcome.result = replaced;
            outcome.status = "*Done: Replace count=" + std::to_string(replaced) + "/" +
                             std::to_string(listed) + " KeyWord=" + key;
            break;
        }
        case FieldAction::Delete:
            changeListed(
                lines, key, false, outcome,
                [&](MemoNode& node) { return !node.removeField_(key).empty(); },
                [](const MemoNode&) { return std::string(); });
            outcome.result = listed;
            outcome.status =
                "*Done: Delete Field count=" + std::to_string(listed) + " KeyWord=" + key;
            break;
        default:
            break;
    }
    return outcome;
}

FieldOutcome markListed(const ScanResults& lines, bool marked,
                        const std::function<void(MemoNode&, bool)>& setMark) {
    FieldOutcome outcome;
    int count = 0;
    for (std::size_t row = 0; row < lines.size(); ++row) {
        MemoNode* node = lines.node(row);
        if (!node) continue;
        ++count;
        if (node->isMarked_() == marked) continue;
        setMark(*node, marked);
        outcome.changed.add(*node);
    }
    outcome.result = count;
    outcome.status =
        std::string(marked ? "Done: Mark count=" : "Done: Unmark count=") + std::to_string(count);
    return outcome;
}

std::vector<std::pair<std::string, NodeRef>> listedNodes(const ScanResults& lines) {
    std::vector<std::pair<std::string, NodeRef>> nodes;
    nodes.reserve(lines.size());
    for (std::size_t row = 0; row < lines.size(); ++row)
        if (lines.nodeRef(row).alive()) nodes.emplace_back(std::to_string(row), lines.nodeRef(row));
    return nodes;
}

namespace {

void sortIgnoringCase(std::vector<std::string>& texts) {
    std::sort(texts.begin(), texts.end(),
              [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
}

}  // namespace

std::vector<std::string> fieldKeysOf(const MemoHolder& holder) {
    std::vector<std::string> keys;
    holder.collectFieldKeys_(keys);
    sortIgnoringCase(keys);
    return keys;
}

std::vector<std::string> fieldValuesOf(const MemoHolder& holder, std::string_view key) {
    std::vector<std::string> raw;
    holder.collectFieldValues_(key, raw);
    std::vector<std::string> values;
    for (std::string& value : raw) {
        std::string trimmed = trimText(value);
        if (!trimmed.empty()) values.push_back(std::move(trimmed));
    }
    sortIgnoringCase(values);
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

}  // namespace zel
