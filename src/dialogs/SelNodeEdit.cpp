#include "dialogs/SelNodeEdit.h"

#include <unordered_set>

#include "dialogs/FieldEdit.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kEmptyKeyWord = "Empty KeyWord";
constexpr std::string_view kEmpty = "Empty!";

// The nodes of the list that still exist, in list order.
std::vector<MemoNode*> liveNodes(const std::vector<NodeRef>& refs) {
    std::vector<MemoNode*> nodes;
    nodes.reserve(refs.size());
    for (const NodeRef& ref : refs)
        if (MemoNode* node = ref.get()) nodes.push_back(node);
    return nodes;
}

SelEditOutcome refusal(std::string_view status) {
    SelEditOutcome outcome;
    outcome.status = status;
    return outcome;
}

// Runs `change` on every node between the hooks, but for the nodes of a
// read-only holder; true from `change` counts the node as changed (its
// holder is marked).
template <class Change>
SelEditOutcome changeNodes(const std::vector<MemoNode*>& nodes, const SelEditHooks& hooks,
                           Change change) {
    SelEditOutcome outcome;
    outcome.refused = false;
    if (hooks.before) hooks.before();
    for (MemoNode* node : nodes)
        if (!outcome.changed.refuses(*node) && change(*node)) outcome.changed.add(*node);
    if (hooks.after) hooks.after();
    return outcome;
}

// A sorted holder re-sorts on every rename; renaming a batch one node at a
// time would sort once per node. Sorting is held off while the batch runs and
// then done once per holder.
class SortHeldOff {
  public:
    SortHeldOff(const std::vector<MemoNode*>& nodes, const std::function<void(MemoHolder&)>& resort)
        : resort_(resort) {
        std::unordered_set<MemoHolder*> seen;
        for (MemoNode* node : nodes) {
            MemoHolder* holder = holderOf(*node);
            if (!holder || !holder->nodes->flagSort || !seen.insert(holder).second) continue;
            held_.push_back(holder);
            holder->nodes->flagSort = false;
        }
    }
    ~SortHeldOff() {
        for (MemoHolder* holder : held_) {
            holder->nodes->flagSort = true;
            if (resort_)
                resort_(*holder);
            else
                holder->nodes->keepOrder_();
        }
    }

  private:
    const std::function<void(MemoHolder&)>& resort_;
    std::vector<MemoHolder*> held_;
};

Lines editorLines(std::string_view text) {
    return textLines(text);
}

void applyTextEdit(Lines& target, TextEdit edit, const Lines& lines) {
    switch (edit) {
        case TextEdit::InsertHead:
            target.insert(target.begin(), lines.begin(), lines.end());
            break;
        case TextEdit::Replace:
            target = lines;
            break;
        case TextEdit::AddTail:
            target.insert(target.end(), lines.begin(), lines.end());
            break;
    }
}

const char* textEditStatus(TextEdit edit) {
    switch (edit) {
        case TextEdit::InsertHead:
            return "Done: Insert Head ";
        case TextEdit::Replace:
            return "Done: Replace ";
        case TextEdit::AddTail:
            return "Done: Insert add Tail ";
    }
    return "";
}

}  // namespace

std::string editedName(NameEdit edit, std::string_view name, std::string_view text) {
    switch (edit) {
        case NameEdit::InsertHead:
            return std::string(text) + std::string(name);
        case NameEdit::InsertHeadPlus:
            return std::string(text) + " " + std::string(name);
        case NameEdit::Replace:
            return std::string(text);
        case NameEdit::AddTail:
            return std::string(name) + std::string(text);
        case NameEdit::AddTailPlus:
            return std::string(name) + " " + std::string(text);
    }
    return std::string(name);
}

SelEditOutcome editNames(const std::vector<NodeRef>& refs, NameEdit edit, std::string_view text,
                         const SelEditHooks& hooks) {
    const std::vector<MemoNode*> nodes = liveNodes(refs);
    if (nodes.empty()) return refusal(kNoMemoNodeSelected);
    if (trimText(text).empty()) return refusal(kEmptyKeyWord);
    SelEditOutcome outcome;
    {
        SortHeldOff held(nodes, hooks.resort);
        outcome = changeNodes(nodes, SelEditHooks{hooks.before, {}, {}}, [&](MemoNode& node) {
            const std::string name = node.getName_();
            node.putName_as_(editedName(edit, name, text));
            return node.getName_() != name;
        });
    }
    if (hooks.after) hooks.after();
    static const char* const kStatus[] = {"Done: Insert Head Name ", "Done: Insert Head Name+ ",
                                          "Done: Replace Name ", "Done: Add Tail Name ",
                                          "Done: Add Tail Name+"};
    outcome.result = static_cast<int>(nodes.size());
    outcome.status = kStatus[static_cast<int>(edit)] + std::to_string(nodes.size());
    return outcome;
}

SelEditOutcome editMemos(const std::vector<NodeRef>& refs, TextEdit edit, std::string_view text,
                         const SelEditHooks& hooks) {
    const std::vector<MemoNode*> nodes = liveNodes(refs);
    if (nodes.empty()) return refusal(kNoMemoNodeSelected);
    if (trimText(text).empty()) return refusal(kEmpty);
    const Lines lines = editorLines(text);
    int count = 0;
    SelEditOutcome outcome = changeNodes(nodes, hooks, [&](MemoNode& node) {
        // A binary body has no memo text; a linked one is read again from its
        // file and never stored, so an edit of it would vanish.
        if (node.getField_("Content-Transfer-Encoding") == "\"binary\"" || node.isLinked_())
            return false;
        ++count;
        Lines edited = node.memo;
        applyTextEdit(edited, edit, lines);
        if (node.memo == edited) return false;
        node.memo = edited;
        return true;
    });
    outcome.result = count;
    outcome.status = textEditStatus(edit) + std::string("Memo ") + std::to_string(count);
    return outcome;
}

SelEditOutcome editComments(const std::vector<NodeRef>& refs, TextEdit edit, std::string_view text,
                            const SelEditHooks& hooks) {
    const std::vector<MemoNode*> nodes = liveNodes(refs);
    if (nodes.empty()) return refusal(kNoMemoNodeSelected);
    if (trimText(text).empty()) return refusal(kEmpty);
    const Lines lines = editorLines(text);
    SelEditOutcome outcome = changeNodes(nodes, hooks, [&](MemoNode& node) {
        const Lines before = node.comment;
        applyTextEdit(node.comment, edit, lines);
        return node.comment != before;
    });
    outcome.result = static_cast<int>(nodes.size());
    outcome.status = textEditStatus(edit) + std::string("Comment ") + std::to_string(nodes.size());
    return outcome;
}

SelEditOutcome setFieldOfNodes(const std::vector<NodeRef>& refs, std::string_view key,
                               std::string_view valueText, const SelEditHooks& hooks) {
    if (key.empty()) {
        SelEditOutcome outcome = refusal(kFieldIsEmpty);
        outcome.emptyKeyBox = true;
        return outcome;
    }
    if (!isStorableFieldKey(key)) return refusal(kBadFieldKey);
    const std::vector<MemoNode*> nodes = liveNodes(refs);
    if (nodes.empty()) return refusal(kNoMemoNodeSelected);
    const std::string value = "\"" + stripQuotes(valueText) + "\"";
    SelEditOutcome outcome = changeNodes(nodes, hooks, [&](MemoNode& node) {
        if (node.getField_(key) == value) return false;
        node.putField_(key, value);
        return true;
    });
    outcome.result = static_cast<int>(nodes.size());
    outcome.status = "*Done Set Field count=" + std::to_string(nodes.size()) +
                     " Field=" + std::string(key) + " Value=" + value;
    return outcome;
}

SelEditOutcome deleteFieldOfNodes(const std::vector<NodeRef>& refs, std::string_view key,
                                  const SelEditHooks& hooks) {
    if (key.empty()) {
        SelEditOutcome outcome = refusal(kFieldIsEmpty);
        outcome.emptyKeyBox = true;
        return outcome;
    }
    const std::vector<MemoNode*> nodes = liveNodes(refs);
    if (nodes.empty()) return refusal(kNoMemoNodeSelected);
    SelEditOutcome outcome =
        changeNodes(nodes, hooks, [&](MemoNode& node) { return !node.removeField_(key).empty(); });
    outcome.result = static_cast<int>(nodes.size());
    outcome.status = "*Done: Delete Field count=" + std::to_string(nodes.size()) +
                     " KeyWord=" + std::string(key);
    return outcome;
}

}  // namespace zel
