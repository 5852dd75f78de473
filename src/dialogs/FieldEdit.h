#pragma once
// The field window's engine: finds the nodes of chosen holders whose fields
// mention a key (or whose value of the key meets a condition), lists them, and
// sets, rewrites or deletes that field in every listed node, or marks them.
// The window and zel-tool fields run the same operations; the window adds its
// histories and the node view's write-back around them.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ChangedHolders.h"
#include "search/ScanResults.h"

namespace zel {

class MemoHolder;
class MemoNode;

// The refusals and messages the window shows.
inline constexpr std::string_view kFieldIsEmpty = "Field is Empty.";
inline constexpr std::string_view kNoHolderSelected = "no MemoHolder selected.";
inline constexpr std::string_view kNoMemoNode = "No MemoNode.";
inline constexpr std::string_view kNoMemoNodeSelected = "No MemoNode selected.";
// A key that would break the record markup it is written into.
inline constexpr std::string_view kBadFieldKey =
    "Failure: Field name must not hold blanks, control characters or \" < > = / &.";

// True for a key that can be written as a field of a record: not empty, and
// without control bytes, blanks or the characters the markup gives a meaning.
bool isStorableFieldKey(std::string_view key);

struct FieldQuery {
    std::string key = {};
    // The value box: the condition of "Both", the text Replace finds.
    std::string value = {};
    // "Scan Op" = "Both": only the key's value counts, not the whole field text.
    bool valueOnly = false;
    // "Value Op" = "Include" rather than "Equal".
    bool include = false;
    // "Ignore": letter case ignored.
    bool ignoreCase = true;
};

enum class FieldAction { Scan, ScanNot, Set, Replace, Delete };

// What a run needs from its surroundings.
struct HolderAccess {
    // Reads a holder that is not loaded yet, as showing it would.
    std::function<void(MemoHolder&)> load;
    // Polled every 50 nodes; true stops the run.
    std::function<bool()> breakRequested;
};

struct FieldOutcome {
    // Scan: the lines listed; Set and Delete: the lines changed; Replace: the
    // nodes whose value changed; -1 when nothing ran.
    int result = -1;
    std::string status;
    // Set and Replace listed something: the replace value was used.
    bool usedReplacement = false;
    bool broken = false;
    ChangedHolders changed;
};

// Why a run cannot start (kFieldIsEmpty, kNoHolderSelected), or empty.
std::string_view fieldRunRefusal(const FieldQuery& query, std::size_t holderCount);

// Whether a node with fields meets the query's condition.
bool meetsFieldQuery(const MemoNode& node, const FieldQuery& query);

// Scans `holders` in order (loading each one first) into `lines`, then
// applies `action` to every listed node and rewrites its line.
FieldOutcome runFieldEdit(FieldAction action, const FieldQuery& query, std::string_view replacement,
                          const std::vector<MemoHolder*>& holders, const HolderAccess& access,
                          ScanResults& lines);

// Marks or unmarks every listed node that still exists through `setMark`;
// only holders where a mark changed are marked changed.
FieldOutcome markListed(const ScanResults& lines, bool marked,
                        const std::function<void(MemoNode&, bool)>& setMark);

// The nodes of the lines that still exist, each with its line's position
// ("0", "1", ...), as the selected-nodes editor takes them.
std::vector<std::pair<std::string, NodeRef>> listedNodes(const ScanResults& lines);

// The drop-downs of "Field Name" and "Value": the holder's field keys, and the
// distinct non-empty unquoted, trimmed values of `key`, sorted ignoring case.
std::vector<std::string> fieldKeysOf(const MemoHolder& holder);
std::vector<std::string> fieldValuesOf(const MemoHolder& holder, std::string_view key);

}  // namespace zel
