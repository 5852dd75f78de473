#pragma once
// The selected-nodes editor's engine: one edit applied to a whole list of
// nodes - their names, memo texts, comments or one field. The list holds weak
// references, so a node deleted after the list was handed over is skipped and
// not counted. Each operation checks what it needs first and changes nothing
// when a check fails; renames in a sorted holder re-sort it once per batch.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ChangedHolders.h"
#include "model/NodeRef.h"

namespace zel {

class MemoHolder;

enum class NameEdit { InsertHead, InsertHeadPlus, Replace, AddTail, AddTailPlus };
enum class TextEdit { InsertHead, Replace, AddTail };

// What the operations do around their change once their checks have passed.
struct SelEditHooks {
    // Before any node changes: the node view written back.
    std::function<void()> before;
    // After the change: the node view shown again.
    std::function<void()> after;
    // Sorts a sorted holder after a batch of renames as one rename would;
    // without it the holder's node list is sorted.
    std::function<void(MemoHolder&)> resort;
};

struct SelEditOutcome {
    // The nodes changed or visited (as the status counts them); -1 refused.
    int result = -1;
    std::string status;
    // A check failed: nothing was changed.
    bool refused = true;
    // The refusal is the "Field is Empty." warning box too.
    bool emptyKeyBox = false;
    ChangedHolders changed;
};

// The wanted name of a node named `name`.
std::string editedName(NameEdit edit, std::string_view name, std::string_view text);

SelEditOutcome editNames(const std::vector<NodeRef>& nodes, NameEdit edit, std::string_view text,
                         const SelEditHooks& hooks = {});
// `text` is the editor's text; binary and linked bodies are left alone.
SelEditOutcome editMemos(const std::vector<NodeRef>& nodes, TextEdit edit, std::string_view text,
                         const SelEditHooks& hooks = {});
SelEditOutcome editComments(const std::vector<NodeRef>& nodes, TextEdit edit, std::string_view text,
                            const SelEditHooks& hooks = {});
// `value` is the value box's text: one layer of quotes stripped, then quoted.
SelEditOutcome setFieldOfNodes(const std::vector<NodeRef>& nodes, std::string_view key,
                               std::string_view value, const SelEditHooks& hooks = {});
SelEditOutcome deleteFieldOfNodes(const std::vector<NodeRef>& nodes, std::string_view key,
                                  const SelEditHooks& hooks = {});

}  // namespace zel
