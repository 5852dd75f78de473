#pragma once
// A holder: one tab of a memo file. A record that owns an ordered list of
// nodes, decides how new nodes are made and named, keeps node names unique
// (unless told otherwise), optionally keeps them sorted, remembers its current
// node and keeps its own settings as fields.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "formats/TTAGNode.h"
#include "model/MemoBasic.h"
#include "model/MemoNode.h"
#include "object/TObjectParent.h"
#include "platform/FileStamp.h"
#include "text/DateTime.h"

namespace zel {

class AgentAPLAbs;
class MemoFile;

// (name, node) pairs in list order; the nodes stay owned by their holder.
using NodeList = std::vector<std::pair<std::string, MemoNode*>>;

class MemoHolder : public MemoBasic {
  public:
    explicit MemoHolder(TObjectNamed* owner = nullptr);
    ~MemoHolder() override;

    const char* className() const override { return "MemoHolder"; }
    // Also empties the node list and resets the settings.
    int clear_() override;
    std::string getNameChild_(const TObjectNamed* child) const override;
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<MemoHolder>(); }
    void copyFrom_(const TObjectNamed& source) override;
    // Reads a `Holder` element: its records become nodes, its fields settings.
    void readTag_(const TTAGNode& element) override;

    // A new empty node owned by this holder, not yet in the list.
    virtual std::unique_ptr<MemoNode> newNode_();
    // `wanted` itself when names may repeat, else a name no node carries.
    virtual std::string uniqueNodeName_(std::string_view wanted) const;
    virtual std::string getFormatDate_() const;
    virtual std::string getFormatNumber_() const;
    // makeNode_, then the new node becomes a child of `parentNode`.
    virtual MemoNode* newChildNode_(MemoBasic& parentNode);
    virtual int count_() const;
    virtual int countMarked_() const;
    virtual NodeList& collectMarked_(NodeList& list) const;
    virtual NodeList& setNodeList_(NodeList& list) const;
    virtual int indexOf_(const MemoNode* node) const;
    virtual MemoNode* previous_(const MemoNode* node) const;
    virtual MemoNode* next_(const MemoNode* node) const;
    virtual MemoNode* first_() const;
    virtual MemoNode* last_() const;
    virtual MemoNode* at_(int index) const;
    // The first node of that name, letter case ignored.
    virtual MemoNode* byName_(std::string_view name) const;
    // Takes `node` out of the list and hands it over (drop the result to
    // destroy it); clears the current node. `formerIndex` receives its index or -1.
    virtual std::unique_ptr<MemoNode> removeNode_(MemoNode* node, int* formerIndex = nullptr);
    // Enters `node` under `name` (made unique unless names may repeat) and
    // re-sorts when sorting is on. 0.
    virtual int addNode_(std::unique_ptr<MemoNode> node, std::string_view name);
    // As addNode_, at `index` (appended when `index` is negative or not below
    // the count), without re-sorting. 0.
    virtual int insertNode_(std::unique_ptr<MemoNode> node, std::string_view name, int index);
    virtual MemoNode* getCurrent_() const { return currentNode; }
    // Yields the node's index, -1 when it is not in the list.
    virtual int setCurrent_(MemoNode* node);
    virtual void setColor_(std::uint32_t colour);

    // A new node made by the new-node rules, already in the list.
    MemoNode* makeNode_();
    // The settings kept outside the fields (sort, reload and save state, the
    // current node) read again from the fields, after they were edited as text.
    void takeSettingsFromFields();

    bool getSort_() const { return nodes->flagSort; }
    void setSort_(bool flag);
    bool getAscending_() const { return nodes->flagAscending; }
    void setAscending_(bool flag);
    bool isFlagExtra_() const;
    void setFlagExtra_(bool flag);
    bool isSameName_() const;
    std::string getFileExt_() const;
    std::string getNewNodeName_() const;
    std::string getNewNodeOption_() const;
    std::string getListMode_() const;
    // The memo file this holder belongs to, through a holder list if need be.
    MemoFile* getMemoFile_() const;

    // Adds every trimmed field key of every node not yet in `list` (letter
    // case ignored); yields the number added.
    int collectFieldKeys_(std::vector<std::string>& list) const;
    // Adds every non-empty unquoted value of `key` not yet in `list`. 0.
    int collectFieldValues_(std::string_view key, std::vector<std::string>& list) const;

    // The nodes of this holder, named and ordered by it.
    std::unique_ptr<TObjectParentEX> nodes;
    MemoNode* currentNode = nullptr;
    bool changed = false;
    bool loaded = false;
    bool flagAccount = false;
    bool flagAutoReLoad = false;
    bool flagAutoSave = false;
    std::int32_t reloadMinutes = 0;
    std::int32_t saveMinutes = 0;
    DateTime timeReload;
    DateTime timeSaved;
    std::int32_t countSave = 0;
    // The Filename field as the last file or index read set it (raw); while
    // Filename still holds it, it is a name from content (holderFilePath_).
    std::string filenameFromContent;
    // The holder's file as last read or written: a save over it checks that
    // no other program wrote it since.
    DiskVersion onDisk;

  private:
    MemoNode* templateForNewNode() const;
    std::string nameForNewNode() const;
    void enter(std::unique_ptr<MemoNode> node, std::string_view name, int index, bool sort);
    MemoNode* nodeAt(std::size_t index) const;
};

}  // namespace zel
