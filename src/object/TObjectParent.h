#pragma once
// A named object that owns named children in an ordered list. Names are looked
// up without regard to letter case through a hash index on the folded name,
// and each child carries its place in the list, so adding at the end,
// renaming and finding a child are constant time on average, however many
// children share a name. Asking many times for a unique variant of one name
// resumes where the last search stopped, and only a freed name that could be
// one of its variants makes a search start over, so a million children named
// (or renamed) alike are named in linear time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "object/TObjectNamed.h"
#include "text/LineList.h"

namespace zel {

class TObjectParent : public TObjectNamed {
  public:
    explicit TObjectParent(TObjectNamed* owner = nullptr);
    ~TObjectParent() override;

    const char* className() const override { return "TObjectParent"; }
    int clear_() override;
    std::string getNameChild_(const TObjectNamed* child) const override;
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<TObjectParent>(); }
    void copyFrom_(const TObjectNamed& source) override;

    // Enter `child` under a unique variant of `wantedName`; the parent takes
    // ownership and becomes the child's owner. Yield the name given.
    virtual std::string insertChild_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                     std::string_view wantedName);
    virtual std::string addChild_(std::unique_ptr<TObjectNamed> child, std::string_view wantedName);

    TObjectNamed* getChild_(std::string_view name) const;
    TObjectNamed* findChild_(std::string_view name) const;
    std::string uniqueName_(std::string_view wantedName) const;
    // No uniqueness check: for callers that made the name unique already.
    void insertChildRaw_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                         std::string_view name);
    void addChildRaw_(std::unique_ptr<TObjectNamed> child, std::string_view name);
    int moveChildUp_(TObjectNamed* child);
    int moveChildDown_(TObjectNamed* child);

    // Takes the child out of the list and hands it over; empty when absent.
    std::unique_ptr<TObjectNamed> extractChild_(TObjectNamed* child);
    // Destroys the child; false when it is not in the list.
    bool deleteChild_(TObjectNamed* child);
    // Destroys the entries from `count` on, the last first.
    void truncateChildren_(std::size_t count);
    // Moves the entry at `from` so that it ends at `to` (both clamped).
    void moveChildTo_(std::size_t from, std::size_t to);

    std::size_t childCount() const { return entries_.size(); }
    const std::string& nameAt(std::size_t index) const { return entries_[index].name; }
    TObjectNamed* childAt(std::size_t index) const { return entries_[index].child.get(); }
    // -1 when `child` is not in the list.
    int indexOfChild(const TObjectNamed* child) const;
    // Index of the first entry named `name` (case-insensitive), -1 when none.
    int indexOfName(std::string_view name) const;

  protected:
    struct Entry {
        std::string name;
        std::unique_ptr<TObjectNamed> child;
    };
    // Reorders the entries as `reorder` leaves them (the same entries: the
    // name index stays valid); the children learn their new places.
    template <class F>
    void reorderEntries(F reorder) {
        reorder(entries_);
        numberSlots(0, entries_.size());
        regroupInListOrder();
        ++orderChanges_;
    }
    // Counts the changes that may put entries out of order: entering, moving,
    // renaming, reordering. Taking entries out never does.
    std::uint64_t orderChanges() const { return orderChanges_; }
    // Whether some name is carried by more than one entry (only raw entries
    // repeat names, or a rare hash collision says so falsely).
    bool hasSharedNames() const { return sharedNames_ > 0; }

  private:
    // The index is keyed by a hash of the folded name: no copy of every name
    // is kept, and a lookup folds into one reused buffer.
    struct KeptHash {
        std::size_t operator()(std::size_t hash) const noexcept { return hash; }
    };
    static std::size_t slotOf(const TObjectNamed* child) { return child->slot_; }
    struct InListOrder {
        bool operator()(const TObjectNamed* a, const TObjectNamed* b) const {
            return slotOf(a) < slotOf(b);
        }
    };
    // The children whose folded names have one hash. Nearly always one; more
    // only where equal names were entered raw (or hashes collide), then kept
    // in list order, so the first is at hand and any leaves in O(log n).
    // Inserting and erasing entries keeps the children's relative order; a
    // move or a reorder regroups what it changed.
    struct NameGroup {
        TObjectNamed* one = nullptr;
        std::unique_ptr<std::set<TObjectNamed*, InListOrder>> many;
    };
    std::size_t indexKey(std::string_view name) const;
    void indexChild(TObjectNamed* child, std::string_view name);
    // Yields whether no other child carries the name now.
    bool unindexChild(const TObjectNamed* child, std::string_view name);
    void regroupInListOrder();
    // Tells the children from `from` to `to` (exclusive) where they stand.
    void numberSlots(std::size_t from, std::size_t to);
    // A name left the list: the remembered searches that may now find it free
    // earlier than where they stopped start over.
    void nameFreed(std::string_view name) const;
    void forgetSearches() const {
        searches_.clear();
        searchCount_ = 0;
    }

    std::vector<Entry> entries_;
    std::unordered_map<std::size_t, NameGroup, KeptHash> byName_;
    mutable std::string foldBuffer_;
    // The folded name without its digits, which every variant of a wanted
    // name shares with it (or with it and "_") -> wanted name (and carrier
    // index) -> where its last unique-name search stopped.
    mutable std::unordered_map<std::string, std::unordered_map<std::string, UniqueNameCursor>>
        searches_;
    mutable std::size_t searchCount_ = 0;
    std::uint64_t orderChanges_ = 0;
    std::size_t sharedNames_ = 0;  // name groups of more than one child
};

// Keeps its children sorted by name when asked to.
class TObjectParentEX : public TObjectParent {
  public:
    explicit TObjectParentEX(TObjectNamed* owner = nullptr);

    const char* className() const override { return "TObjectParentEX"; }
    int clear_() override;
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override;
    std::unique_ptr<TObjectNamed> deepCopy() const override { return copyAs<TObjectParentEX>(); }
    void copyFrom_(const TObjectNamed& source) override;
    std::string addChild_(std::unique_ptr<TObjectNamed> child,
                          std::string_view wantedName) override;

    // Sort by name when flagSort is set, then reverse when not ascending.
    void keepOrder_();

    bool flagSort = false;
    bool flagAscending = true;

  private:
    bool inOrder(std::string_view before, std::string_view after) const;
    // The list was sorted as flagAscending says and has not changed since.
    bool knownInOrder() const {
        return orderedAt_ == orderChanges() && orderedAscending_ == flagAscending;
    }
    void markInOrder() {
        orderedAt_ = orderChanges();
        orderedAscending_ = flagAscending;
    }
    void placeLastInOrder(bool knownInOrder);
    // Moves the entry at `index` to where a stable sort of the list, ordered
    // but for that entry, would put it.
    void placeInOrder(std::size_t index);

    std::uint64_t orderedAt_ = ~std::uint64_t{0};
    bool orderedAscending_ = true;
};

}  // namespace zel
