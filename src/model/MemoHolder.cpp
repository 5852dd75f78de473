#include "model/MemoHolder.h"

#include <charconv>
#include <unordered_set>

#include "formats/TTAGNode.h"
#include "model/HolderReader.h"
#include "model/MemoFile.h"
#include "text/DateTime.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "text/Values.h"

namespace zel {

namespace {

constexpr std::string_view kTrue = "\"true\"";

std::string quotedFlag(bool flag) {
    return flag ? "\"true\"" : "\"false\"";
}

// Integers of holder settings: the leading decimal number, 0 when there is none.
std::int32_t settingInteger(std::string_view raw) {
    std::string_view digits = trimmedView(unquotedView(raw));
    std::int32_t value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

}  // namespace

MemoHolder::MemoHolder(TObjectNamed* owner_) : MemoBasic(owner_) {
    MemoHolder::clear_();
}

MemoHolder::~MemoHolder() {
    // The nodes go before the record part they may still ask about.
    currentNode = nullptr;
    nodes.reset();
}

int MemoHolder::clear_() {
    MemoBasic::clear_();
    if (nodes)
        nodes->clear_();
    else
        nodes = std::make_unique<TObjectParentEX>(this);
    currentNode = nullptr;
    changed = loaded = false;
    flagAccount = flagAutoReLoad = flagAutoSave = false;
    reloadMinutes = saveMinutes = countSave = 0;
    filenameFromContent.clear();
    timeReload = timeSaved = currentDateTime();
    return 0;
}

std::string MemoHolder::getNameChild_(const TObjectNamed* child) const {
    return nodes->getNameChild_(child);
}

std::string MemoHolder::putNameChild_as_(TObjectNamed* child, std::string_view wantedName) {
    return nodes->putNameChild_as_(child, wantedName);
}

void MemoHolder::copyFrom_(const TObjectNamed& source) {
    MemoBasic::copyFrom_(source);
    const auto* from = dynamic_cast<const MemoHolder*>(&source);
    if (!from || from == this) return;
    changed = from->changed;
    loaded = from->loaded;
    flagAccount = from->flagAccount;
    flagAutoReLoad = from->flagAutoReLoad;
    flagAutoSave = from->flagAutoSave;
    reloadMinutes = from->reloadMinutes;
    saveMinutes = from->saveMinutes;
    timeReload = from->timeReload;
    timeSaved = from->timeSaved;
    countSave = from->countSave;
    filenameFromContent = from->filenameFromContent;

    nodes->clear_();
    currentNode = nullptr;
    for (std::size_t i = 0; i < from->nodes->childCount(); ++i)
        addNode_(from->nodeAt(i)->clone_(), from->nodes->nameAt(i));
    // Taken after the nodes are in, so the copy keeps the source's order
    // instead of being sorted once per node.
    nodes->flagSort = from->nodes->flagSort;
    nodes->flagAscending = from->nodes->flagAscending;
    putField_("ModeNodesMngr", "\"Nodes\"");

    if (from->currentNode) {
        MemoNode* same = at_(from->indexOf_(from->currentNode));
        currentNode = same ? same : first_();
    }
}

void MemoHolder::readTag_(const TTAGNode& element) {
    if (trimText(element.name) != "Holder") return;
    HolderReader reader(*this);
    reader.readElement(element);
    reader.finish();
}

void MemoHolder::takeSettingsFromFields() {
    std::string current = stripQuotes(getField_("curIndex"));
    currentNode = current.empty() ? nullptr : byName_(current);
    setSort_(getField_("flagSort") == kTrue);
    setAscending_(getField_("flagAscending") == kTrue);
    flagAccount = getField_("flagAccount") == kTrue;
    flagAutoReLoad = getField_("flagAutoReLoad") == kTrue;
    flagAutoSave = getField_("flagAutoSave") == kTrue;
    reloadMinutes = settingInteger(getField_("ReloadMinutes"));
    saveMinutes = settingInteger(getField_("SaveMinutes"));
    countSave = settingInteger(getField_("CountSave"));
    auto settingTime = [this](std::string_view key) {
        std::string compact = stripQuotes(getField_(key));
        std::erase(compact, ' ');
        return parseCompactDateTime(compact);
    };
    timeReload = settingTime("TimeReload");
    timeSaved = settingTime("TimeSaved");
}

std::unique_ptr<MemoNode> MemoHolder::newNode_() {
    return std::make_unique<MemoNode>(this);
}

std::string MemoHolder::uniqueNodeName_(std::string_view wanted) const {
    return isSameName_() ? std::string(wanted) : nodes->uniqueName_(wanted);
}

std::string MemoHolder::getFormatDate_() const {
    std::string raw = getField_("FormatDate");
    return raw.empty() ? "\"YYYYMMDD\"" : raw;
}

std::string MemoHolder::getFormatNumber_() const {
    std::string raw = getField_("FormatNumber");
    return raw.empty() ? "\"%.5d\"" : raw;
}

MemoNode* MemoHolder::newChildNode_(MemoBasic& parentNode) {
    MemoNode* node = makeNode_();
    node->setParentNode_(parentNode);
    return node;
}

int MemoHolder::count_() const {
    return nodes ? static_cast<int>(nodes->childCount()) : 0;
}

int MemoHolder::countMarked_() const {
    int marked = 0;
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        if (nodeAt(i)->isMarked_()) ++marked;
    return marked;
}

NodeList& MemoHolder::collectMarked_(NodeList& list) const {
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        if (nodeAt(i)->isMarked_()) list.emplace_back(nodes->nameAt(i), nodeAt(i));
    return list;
}

NodeList& MemoHolder::setNodeList_(NodeList& list) const {
    list.reserve(list.size() + nodes->childCount());
    for (std::size_t i = 0; i < nodes->childCount(); ++i)
        list.emplace_back(nodes->nameAt(i), nodeAt(i));
    return list;
}

int MemoHolder::indexOf_(const MemoNode* node) const {
    return nodes->indexOfChild(node);
}

MemoNode* MemoHolder::previous_(const MemoNode* node) const {
    int index = indexOf_(node);
    return index > 0 ? nodeAt(index - 1) : nullptr;
}

MemoNode* MemoHolder::next_(const MemoNode* node) const {
    int index = indexOf_(node);
    return index >= 0 ? at_(index + 1) : nullptr;
}

MemoNode* MemoHolder::first_() const {
    return at_(0);
}

MemoNode* MemoHolder::last_() const {
    return at_(count_() - 1);
}

MemoNode* MemoHolder::at_(int index) const {
    return index >= 0 && index < count_() ? nodeAt(index) : nullptr;
}

MemoNode* MemoHolder::byName_(std::string_view name) const {
    return static_cast<MemoNode*>(nodes->getChild_(name));
}

MemoNode* MemoHolder::nodeAt(std::size_t index) const {
    return static_cast<MemoNode*>(nodes->childAt(index));
}

std::unique_ptr<MemoNode> MemoHolder::removeNode_(MemoNode* node, int* formerIndex) {
    int index = indexOf_(node);
    if (formerIndex) *formerIndex = index;
    if (index < 0) return nullptr;
    currentNode = nullptr;
    return std::unique_ptr<MemoNode>(static_cast<MemoNode*>(nodes->extractChild_(node).release()));
}

void MemoHolder::enter(std::unique_ptr<MemoNode> node, std::string_view name, int index,
                       bool sort) {
    MemoNode* entered = node.get();
    std::size_t position = index < 0 ? nodes->childCount() : static_cast<std::size_t>(index);
    if (isSameName_())
        nodes->insertChildRaw_(position, std::move(node), name);
    else if (sort)
        nodes->addChild_(std::move(node), name);
    else
        nodes->insertChild_(position, std::move(node), name);
    // The list set itself as owner; a node answers to its holder.
    entered->owner = this;
}

int MemoHolder::addNode_(std::unique_ptr<MemoNode> node, std::string_view name) {
    if (!nodes || !node) return -1;
    enter(std::move(node), name, -1, true);
    return 0;
}

int MemoHolder::insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index) {
    if (!nodes || !node) return -1;
    enter(std::move(node), name, index, false);
    return 0;
}

int MemoHolder::setCurrent_(MemoNode* node) {
    currentNode = node;
    return indexOf_(node);
}

void MemoHolder::setColor_(std::uint32_t colour) {
    putField_("Color", wrapQuotes(colorToName(colour)));
}

MemoNode* MemoHolder::templateForNewNode() const {
    std::string option = lowerText(stripQuotes(getField_("NewNodeOption")));
    if (option == "plain") return nullptr;
    MemoNode* found = nullptr;
    if (option.empty() || option == "normal") {
        found = byName_("*");
    } else if (option == "current") {
        found = currentNode;
    } else if (option == "select") {
        std::string selected = stripQuotes(getField_("SelectNodeName"));
        if (!selected.empty()) found = byName_(selected);
    }
    return found ? found : byName_("*");
}

std::string MemoHolder::nameForNewNode() const {
    std::string kind = lowerText(stripQuotes(getField_("NewNodeName")));
    if (kind.empty() || kind == "daily") {
        std::string pattern = stripQuotes(getFormatDate_());
        return formatDateTime(pattern.empty() ? "YYYYMMDD" : pattern, currentDateTime());
    }
    if (kind == "glossary") return currentNode ? currentNode->getName_() : "*New*";
    if (kind == "number") return formatNumber(stripQuotes(getFormatNumber_()), count_());
    return "*New*";
}

MemoNode* MemoHolder::makeNode_() {
    MemoNode* pattern = templateForNewNode();
    std::unique_ptr<MemoNode> node = pattern ? pattern->clone_() : newNode_();
    MemoNode* made = node.get();
    std::string name = uniqueNodeName_(nameForNewNode());
    if (currentNode)
        insertNode_(std::move(node), name, indexOf_(currentNode));
    else
        addNode_(std::move(node), name);
    if (!made->getField_("Created").empty())
        made->putField_("Created",
                        wrapQuotes(formatDateTime("YYYYMMDD hhnnsszzz", currentDateTime())));
    if (!made->getField_("UID").empty()) made->newUID_();
    return made;
}

void MemoHolder::setSort_(bool flag) {
    nodes->flagSort = flag;
    putField_("flagSort", quotedFlag(flag));
}

void MemoHolder::setAscending_(bool flag) {
    nodes->flagAscending = flag;
    putField_("flagAscending", quotedFlag(flag));
}

bool MemoHolder::isFlagExtra_() const {
    return getField_("FlagExtra") == kTrue;
}

void MemoHolder::setFlagExtra_(bool flag) {
    putField_("FlagExtra", quotedFlag(flag));
}

bool MemoHolder::isSameName_() const {
    return fields.value("FlagSameName") == kTrue;
}

std::string MemoHolder::getFileExt_() const {
    std::string raw = getField_("FileExt");
    return raw.empty() ? "\".mxh\"" : raw;
}

std::string MemoHolder::getNewNodeName_() const {
    std::string raw = getField_("NewNodeName");
    return raw.empty() ? "\"Daily\"" : raw;
}

std::string MemoHolder::getNewNodeOption_() const {
    std::string raw = getField_("NewNodeOption");
    return raw.empty() ? "\"Normal\"" : raw;
}

std::string MemoHolder::getListMode_() const {
    std::string raw = getField_("ModeNodesMngr");
    return raw.empty() ? "\"Nodes\"" : raw;
}

MemoFile* MemoHolder::getMemoFile_() const {
    if (auto* file = dynamic_cast<MemoFile*>(owner)) return file;
    if (auto* list = dynamic_cast<TObjectParent*>(owner))
        return dynamic_cast<MemoFile*>(list->owner);
    return nullptr;
}

int MemoHolder::collectFieldKeys_(std::vector<std::string>& list) const {
    std::unordered_set<std::string> known;
    for (const auto& key : list) known.insert(lowerText(key));
    int added = 0;
    for (std::size_t i = 0; i < nodes->childCount(); ++i) {
        const FieldList& nodeFields = nodeAt(i)->fields;
        for (std::size_t f = 0; f < nodeFields.size(); ++f) {
            if (!nodeFields.hasKeyAt(f)) continue;
            std::string key = trimText(nodeFields.keyAt(f));
            if (known.insert(lowerText(key)).second) {
                list.push_back(std::move(key));
                ++added;
            }
        }
    }
    return added;
}

int MemoHolder::collectFieldValues_(std::string_view key, std::vector<std::string>& list) const {
    std::unordered_set<std::string> known(list.begin(), list.end());
    for (std::size_t i = 0; i < nodes->childCount(); ++i) {
        std::string value = stripQuotes(nodeAt(i)->fields.value(key));
        if (!value.empty() && known.insert(value).second) list.push_back(std::move(value));
    }
    return 0;
}

}  // namespace zel
