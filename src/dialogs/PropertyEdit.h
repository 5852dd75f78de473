#pragma once
// What the property dialogs show and change: the settings of a holder and of
// the memo file as plain values, and the node settings applied to one node or
// to many. Storing writes only what the user changed since loading, so a plain
// OK changes nothing; every change marks the holders (or the memo file) it
// touched.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/ChangedHolders.h"
#include "dialogs/FieldEdit.h"
#include "model/NodeRef.h"
#include "text/DateTime.h"
#include "text/Values.h"

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

// The mail settings of a holder, in the order the dialog lists them.
inline constexpr std::array<std::string_view, 8> kMailSettingKeys = {
    "SMTPServer", "POPServer", "To", "CC", "BCC", "From", "ReplyTo", "UserID"};

struct HolderSettings {
    // Choices, by the caption of the item selected.
    std::string newNodeName = "Daily";     // "Daily", "Glossary", "Number"
    std::string newNodeOption = "Normal";  // "Normal", "Plain", "Current", "Select"
    std::string fileExt = ".mxh";          // ".mxh", ".mhz"
    bool readOnly = false;
    bool extra = false;
    bool sort = false;
    bool ascending = true;
    bool sameName = false;
    std::string formatDate;
    std::string formatNumber;
    std::string selectNodeName;
    // None: the default face colour, which stands for no colour.
    std::optional<Color> colour;
    std::vector<std::string> memo;
    std::array<std::string, 8> mail;
    // Shown only.
    int countOfNodes = 0;
    std::string queryNode;
    std::string fileName;
    std::string name;
    int countSave = 0;
    std::string timeSaved;

    bool operator==(const HolderSettings&) const = default;
};

HolderSettings loadHolderSettings(const MemoHolder& holder);

// What storing needs from the window.
struct HolderStoreHooks {
    // The holder is about to become read-only: the window switches its user
    // interface to read-only first (the node view is written back).
    std::function<void()> beforeReadOnly;
};

// Writes into `holder` each setting whose value differs between `loaded`
// (what the dialog was filled with) and `edited`; marks the holder changed
// when anything was written. The number of settings written.
int storeHolderSettings(MemoHolder& holder, const HolderSettings& loaded,
                        const HolderSettings& edited, const HolderStoreHooks& hooks = {});

struct MemoFileSettings {
    std::string fileName;
    std::string name;
    std::optional<Color> colour;
    std::vector<std::string> memo;

    bool operator==(const MemoFileSettings&) const = default;
};

MemoFileSettings loadMemoFileSettings(const MemoFile& file);
// The colour and the memo text, where they differ from `loaded`; marks the
// memo file changed when anything was written. The number written.
int storeMemoFileSettings(MemoFile& file, const MemoFileSettings& loaded,
                          const MemoFileSettings& edited);

// The node property window's values, as bound to a node and then edited.
struct NodeProperties {
    std::string holderName;
    std::string nodeName;
    Color colour = 0xFFFFFF;
    // -1 nothing selected, 0 "false", 1 "true".
    int flagLink = -1;
    bool creater = false;
    bool created = false;
    bool modified = false;
    // The raw Filename (quotes included) or the path chosen.
    std::string filename;
    // What the user did since binding: only these reach nodes other than
    // the bound one.
    bool colourPicked = false;
    bool flagLinkChanged = false;
    bool filenameChosen = false;
};

NodeProperties bindNodeProperties(const MemoHolder& holder, const MemoNode& node);

enum class PropertyTarget { CurrentNode = 0, MarkedNodes = 1, CurrentHolder = 2, AllHolders = 3 };

// The nodes a property operation works on. "All Holders" loads the holders not
// loaded yet first; false when Break stopped that.
bool collectPropertyTargets(PropertyTarget target, MemoFile* file, MemoHolder& holder,
                            MemoNode& current, const HolderAccess& access,
                            std::vector<MemoNode*>& nodes);

struct NodeApplyHooks {
    // The node view's fields editor written into the current node before it
    // changes, and loaded from it afterwards.
    std::function<void(MemoNode&)> beforeCurrent;
    std::function<void(MemoNode&)> afterCurrent;
};

// "OK": the properties into every target. The bound node takes every shown
// value; other targets only what the user changed, and FlagLink "false" when
// they have none. `stamp` is the quoted time stamp, `userName` quoted.
ChangedHolders applyNodeProperties(const std::vector<MemoNode*>& targets, const MemoNode& bound,
                                   const MemoNode* current, const NodeProperties& properties,
                                   std::string_view stamp, std::string_view userName,
                                   const NodeApplyHooks& hooks = {});
// "BasicPut": `key` := `value` (trimmed, one layer of quotes stripped, quoted)
// in every target.
ChangedHolders putFieldIntoNodes(const std::vector<MemoNode*>& targets, const MemoNode* current,
                                 std::string_view key, std::string_view value,
                                 const NodeApplyHooks& hooks = {});

// The time stamp of "OK": "\"yyyymmdd hhnnss\"".
std::string propertyStamp(const DateTime& now);

}  // namespace zel
