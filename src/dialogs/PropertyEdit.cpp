#include "dialogs/PropertyEdit.h"

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kTrueValue = "\"true\"";
constexpr Color kWhite = 0xFFFFFF;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string shownValue(const MemoBasic& record, std::string_view key) {
    return stripQuotes(record.getField_(key));
}

std::optional<Color> recordColour(const MemoBasic& record) {
    if (record.getField_("Color").empty()) return std::nullopt;
    return record.getColor_();
}

// The item of `items` whose lower-case form is `value`'s, else the first.
std::string choiceOf(std::string_view value, std::initializer_list<std::string_view> items) {
    const std::string folded = lowerText(value);
    for (std::string_view item : items)
        if (lowerText(item) == folded) return std::string(item);
    return std::string(*items.begin());
}

// A trimmed text setting: written quoted, or removed when empty.
void putOrRemove(MemoBasic& record, std::string_view key, std::string_view text) {
    const std::string trimmed = trimText(text);
    if (trimmed.empty())
        record.removeField_(key);
    else
        record.putField_(key, quoted(trimmed));
}

bool fieldIsBlank(const MemoNode& node, std::string_view key) {
    return trimText(stripQuotes(node.getField_(key))).empty();
}

}  // namespace

HolderSettings loadHolderSettings(const MemoHolder& holder) {
    HolderSettings shown;
    const std::string newName = holder.getNewNodeName_();
    shown.newNodeName = newName == "\"Glossary\"" ? "Glossary"
                        : newName == "\"Number\"" ? "Number"
                                                  : "Daily";
    shown.newNodeOption =
        choiceOf(stripQuotes(holder.getNewNodeOption_()), {"Normal", "Plain", "Current", "Select"});
    shown.formatDate = stripQuotes(holder.getFormatDate_());
    if (shown.formatDate.empty()) shown.formatDate = "YYYYMMDD";
    shown.formatNumber = stripQuotes(holder.getFormatNumber_());
    if (shown.formatNumber.empty()) shown.formatNumber = "%5d";
    shown.selectNodeName = shownValue(holder, "SelectNodeName");
    shown.queryNode = shownValue(holder, "QueryNode");
    shown.fileName = holderFilePath_(holder);
    shown.name = holder.getName_();
    shown.sort = holder.getSort_();
    shown.ascending = holder.getAscending_();
    shown.readOnly = holder.isReadOnly_();
    shown.extra = holder.isFlagExtra_();
    shown.fileExt = holder.getFileExt_() == "\".mxh\"" ? ".mxh" : ".mhz";
    shown.colour = recordColour(holder);
    shown.memo = holder.memo;
    shown.countOfNodes = holder.count_();
    shown.sameName = holder.getField_("FlagSameName") == kTrueValue;
    shown.countSave = holder.countSave;
    shown.timeSaved = formatDateTime("YYYYMMDD hhnnsszzz", holder.timeSaved);
    for (std::size_t i = 0; i < kMailSettingKeys.size(); ++i)
        shown.mail[i] = shownValue(holder, kMailSettingKeys[i]);
    return shown;
}

int storeHolderSettings(MemoHolder& holder, const HolderSettings& loaded,
                        const HolderSettings& edited, const HolderStoreHooks& hooks) {
    int written = 0;
    auto changedFrom = [&](auto member) { return edited.*member != loaded.*member; };
    if (changedFrom(&HolderSettings::newNodeName)) {
        holder.putField_("NewNodeName", quoted(edited.newNodeName));
        ++written;
    }
    if (trimText(edited.selectNodeName) != trimText(loaded.selectNodeName)) {
        putOrRemove(holder, "SelectNodeName", edited.selectNodeName);
        ++written;
    }
    if (changedFrom(&HolderSettings::formatDate)) {
        holder.putField_("FormatDate", quoted(edited.formatDate));
        ++written;
    }
    if (changedFrom(&HolderSettings::formatNumber)) {
        holder.putField_("FormatNumber", quoted(edited.formatNumber));
        ++written;
    }
    if (changedFrom(&HolderSettings::newNodeOption)) {
        holder.putField_("NewNodeOption", quoted(edited.newNodeOption));
        ++written;
    }
    if (changedFrom(&HolderSettings::fileExt)) {
        holder.putField_("FileExt", quoted(edited.fileExt));
        ++written;
    }
    if (changedFrom(&HolderSettings::sort)) {
        holder.setSort_(edited.sort);
        ++written;
    }
    if (changedFrom(&HolderSettings::ascending)) {
        holder.setAscending_(edited.ascending);
        ++written;
    }
    if (edited.readOnly != holder.isReadOnly_() && changedFrom(&HolderSettings::readOnly)) {
        if (edited.readOnly && hooks.beforeReadOnly) hooks.beforeReadOnly();
        holder.setReadOnly_(edited.readOnly);
        ++written;
    }
    if (changedFrom(&HolderSettings::sameName)) {
        if (edited.sameName)
            holder.putField_("FlagSameName", std::string(kTrueValue));
        else
            holder.removeField_("FlagSameName");
        ++written;
    }
    if (changedFrom(&HolderSettings::extra)) {
        holder.setFlagExtra_(edited.extra);
        ++written;
    }
    if (edited.colour && changedFrom(&HolderSettings::colour)) {
        holder.setColor_(*edited.colour);
        ++written;
    }
    if (changedFrom(&HolderSettings::memo)) {
        holder.memo = edited.memo;
        ++written;
    }
    for (std::size_t i = 0; i < kMailSettingKeys.size(); ++i) {
        if (trimText(edited.mail[i]) == trimText(loaded.mail[i])) continue;
        putOrRemove(holder, kMailSettingKeys[i], edited.mail[i]);
        ++written;
    }
    if (written > 0) holder.changed = true;
    return written;
}

MemoFileSettings loadMemoFileSettings(const MemoFile& file) {
    MemoFileSettings shown;
    shown.fileName = file.getMemoFilePath_();
    shown.name = file.getName_();
    shown.colour = recordColour(file);
    shown.memo = file.memo;
    return shown;
}

int storeMemoFileSettings(MemoFile& file, const MemoFileSettings& loaded,
                          const MemoFileSettings& edited) {
    int written = 0;
    if (edited.colour && edited.colour != loaded.colour) {
        file.putField_("Color", wrapQuotes(colorToName(*edited.colour)));
        ++written;
    }
    if (edited.memo != loaded.memo) {
        file.memo = edited.memo;
        ++written;
    }
    if (written > 0) file.changed = true;
    return written;
}

NodeProperties bindNodeProperties(const MemoHolder& holder, const MemoNode& node) {
    NodeProperties shown;
    shown.holderName = holder.getName_();
    shown.nodeName = node.getName_();
    shown.colour = node.getColor_();
    const std::string link = node.getField_("FlagLink");
    shown.flagLink = link.empty() ? -1 : link == kTrueValue ? 1 : 0;
    shown.creater = !fieldIsBlank(node, "Creater");
    shown.created = !fieldIsBlank(node, "Created");
    shown.modified = !fieldIsBlank(node, "Modified");
    shown.filename = node.getField_("Filename");
    return shown;
}

bool collectPropertyTargets(PropertyTarget target, MemoFile* file, MemoHolder& holder,
                            MemoNode& current, const HolderAccess& access,
                            std::vector<MemoNode*>& nodes) {
    nodes.clear();
    NodeList list;
    auto append = [&](const MemoHolder& from, bool marked) {
        list.clear();
        if (marked)
            from.collectMarked_(list);
        else
            from.setNodeList_(list);
        for (const auto& [name, node] : list) nodes.push_back(node);
    };
    switch (target) {
        case PropertyTarget::CurrentNode:
            nodes.push_back(&current);
            return true;
        case PropertyTarget::MarkedNodes:
            append(holder, true);
            return true;
        case PropertyTarget::CurrentHolder:
            append(holder, false);
            return true;
        case PropertyTarget::AllHolders:
            break;
    }
    if (!file) {
        append(holder, false);
        return true;
    }
    HolderList holders;
    for (const auto& [name, each] : file->listHolders_(holders)) {
        if (access.breakRequested && access.breakRequested()) return false;
        if (!each->loaded && access.load) access.load(*each);
        append(*each, false);
    }
    return true;
}

namespace {

// Runs `change` on every target but the nodes of a read-only holder, the
// current one between the fields editor's write-back and reload; marks each
// holder whose node changed.
template <class Change>
ChangedHolders changeTargets(const std::vector<MemoNode*>& targets, const MemoNode* current,
                             const NodeApplyHooks& hooks, Change change) {
    ChangedHolders changed;
    for (MemoNode* node : targets) {
        if (changed.refuses(*node)) continue;
        const bool isCurrent = node == current;
        if (isCurrent && hooks.beforeCurrent) hooks.beforeCurrent(*node);
        const FieldList before = node->fields;
        change(*node);
        if (!(node->fields == before)) changed.add(*node);
        if (isCurrent && hooks.afterCurrent) hooks.afterCurrent(*node);
    }
    return changed;
}

}  // namespace

ChangedHolders applyNodeProperties(const std::vector<MemoNode*>& targets, const MemoNode& bound,
                                   const MemoNode* current, const NodeProperties& properties,
                                   std::string_view stamp, std::string_view userName,
                                   const NodeApplyHooks& hooks) {
    const std::string colourName = wrapQuotes(colorToName(properties.colour));
    const std::string link = properties.flagLink == 1 ? "\"true\"" : "\"false\"";
    const std::string filename = trimText(properties.filename);
    return changeTargets(targets, current, hooks, [&](MemoNode& node) {
        const bool isBound = &node == &bound;
        const bool hasColour = !trimText(node.getField_("Color")).empty();
        if (isBound ? hasColour || properties.colour != kWhite : properties.colourPicked)
            node.putField_("Color", colourName);
        if (isBound || properties.flagLinkChanged)
            node.putField_("FlagLink", link);
        else if (node.getField_("FlagLink").empty())
            node.putField_("FlagLink", "\"false\"");
        if (properties.creater && fieldIsBlank(node, "Creater"))
            node.putField_("Creater", userName);
        if (properties.created && fieldIsBlank(node, "Created")) node.putField_("Created", stamp);
        if (properties.modified && fieldIsBlank(node, "Modified"))
            node.putField_("Modified", stamp);
        if (!filename.empty() && (isBound || properties.filenameChosen))
            node.putField_("Filename", filename);
    });
}

ChangedHolders putFieldIntoNodes(const std::vector<MemoNode*>& targets, const MemoNode* current,
                                 std::string_view key, std::string_view value,
                                 const NodeApplyHooks& hooks) {
    const std::string trimmedKey = trimText(key);
    if (trimmedKey.empty()) return {};
    const std::string stored = quoted(stripQuotes(trimText(value)));
    return changeTargets(targets, current, hooks,
                         [&](MemoNode& node) { node.putField_(trimmedKey, stored); });
}

std::string propertyStamp(const DateTime& now) {
    return quoted(formatDateTime("yyyymmdd hhnnss", now));
}

}  // namespace zel
