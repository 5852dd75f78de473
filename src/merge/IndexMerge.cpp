#include "merge/IndexMerge.h"

#include <memory>

#include "merge/FieldMerge.h"
#include "merge/KeyedMerge.h"
#include "merge/LineMerge.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

enum { kBase, kOurs, kTheirs };

// The fields of a holder that its index element carries; a loaded holder
// holds many more, which the index never sees.
constexpr std::string_view kIndexedHolderKeys[] = {"FlagReadOnly", "FileExt", kHolderFileNameKey};

FieldList indexedFields(const MemoHolder& holder) {
    FieldList fields;
    for (std::string_view key : kIndexedHolderKeys) {
        const int at = holder.fields.indexOf(key);
        if (at >= 0) fields.append(holder.fields[at]);
    }
    return fields;
}

void setIndexedFields(MemoHolder& holder, const FieldList& fields) {
    for (std::string_view key : kIndexedHolderKeys) holder.removeField_(key);
    for (std::size_t i = 0; i < fields.size(); ++i) holder.fields.append(fields[i]);
}

struct HolderVersion {
    std::vector<MemoHolder*> holders;
    std::vector<std::string> names;
    std::vector<FieldList> fields;
    std::vector<std::string> keys;  // the folded name of the holder's file, no extension

    std::vector<std::string_view> keyViews() const { return {keys.begin(), keys.end()}; }
};

HolderVersion readHolders(const MemoFile* file) {
    HolderVersion version;
    if (!file) return version;
    for (int i = 0; i < file->countOfHolders_(); ++i) {
        MemoHolder* holder = file->holderAt_(i);
        version.holders.push_back(holder);
        version.names.push_back(holder->getName_());
        version.fields.push_back(indexedFields(*holder));
        version.keys.push_back(lowerText(baseNameOf(file->holderFileName_(*holder))));
    }
    return version;
}

void reportHolder(MergeReport& report, std::string_view name, std::string_view what) {
    report.conflicts.push_back("holder " + std::string(name) + ": " + std::string(what));
}

class HolderListMerge {
  public:
    HolderListMerge(MemoFile& ours, const MemoFile* base, const MemoFile& theirs)
        : ours_(ours),
          versions_{readHolders(base), readHolders(&ours), readHolders(&theirs)},
          alignment_(alignByKey(versions_[kBase].keyViews(), versions_[kOurs].keyViews(),
                                versions_[kTheirs].keyViews())) {}

    void plan() {
        merges_.resize(alignment_.slots.size());
        kept_.assign(alignment_.slots.size(), 0);
        for (std::size_t s = 0; s < merges_.size(); ++s) {
            const MergeSlot& slot = alignment_.slots[s];
            const int at[] = {slot.base, slot.ours, slot.theirs};
            merges_[s] = decideSlot(slot, [&](int x, int y) {
                return versions_[x].names[at[x]] == versions_[y].names[at[y]] &&
                       versions_[x].fields[at[x]] == versions_[y].fields[at[y]];
            });
            kept_[s] = merges_[s] != SlotMerge::Drop;
        }
        order_ = mergedOrder(alignment_, kept_);
    }

    void apply(MergeReport& report) {
        MemoHolder* current = ours_.currentHolder;
        const HolderVersion& mine = versions_[kOurs];
        std::vector<std::unique_ptr<MemoHolder>> taken(mine.holders.size());
        for (std::size_t i = mine.holders.size(); i-- > 0;)
            taken[i] = ours_.removeHolder_(mine.holders[i]);
        MemoHolder* keptCurrent = nullptr;
        for (int s : order_) {
            const MergeSlot& slot = alignment_.slots[s];
            std::unique_ptr<MemoHolder> holder =
                slot.ours >= 0 ? std::move(taken[slot.ours]) : ours_.newHolderObject_();
            if (holder.get() == current) keptCurrent = current;
            const std::string name = settle(*holder, slot, merges_[s], report);
            ours_.addHolder_(std::move(holder), name);
        }
        ours_.currentHolder = keptCurrent;
    }

  private:
    const std::string& name(int version, int index) const {
        return versions_[version].names[index];
    }
    const FieldList& fields(int version, int index) const {
        return versions_[version].fields[index];
    }

    // Gives `holder` the merged fields; yields its merged name.
    std::string settle(MemoHolder& holder, const MergeSlot& slot, SlotMerge merge,
                       MergeReport& report) {
        switch (merge) {
            case SlotMerge::OursOverDelete:
                reportHolder(report, name(kOurs, slot.ours),
                             "deleted in theirs, changed in ours: kept");
                [[fallthrough]];
            case SlotMerge::Ours:
            case SlotMerge::Drop:
                return name(kOurs, slot.ours);
            case SlotMerge::TheirsOverDelete:
                reportHolder(report, name(kTheirs, slot.theirs),
                             "deleted in ours, changed in theirs: kept");
                [[fallthrough]];
            case SlotMerge::Theirs:
                setIndexedFields(holder, fields(kTheirs, slot.theirs));
                return name(kTheirs, slot.theirs);
            case SlotMerge::Both:
                break;
        }
        const bool inBase = slot.base >= 0;
        FieldMerge merged = mergeFields(inBase ? &fields(kBase, slot.base) : nullptr,
                                        fields(kOurs, slot.ours), fields(kTheirs, slot.theirs));
        setIndexedFields(holder, merged.ours);
        for (const std::string& key : merged.conflicts)
            reportHolder(report, name(kOurs, slot.ours), key + " changed on both sides, ours kept");
        const bool renamedByThem = inBase && name(kOurs, slot.ours) == name(kBase, slot.base);
        return renamedByThem ? name(kTheirs, slot.theirs) : name(kOurs, slot.ours);
    }

    MemoFile& ours_;
    const HolderVersion versions_[3];
    const Alignment alignment_;
    std::vector<SlotMerge> merges_;
    std::vector<char> kept_;
    std::vector<int> order_;
};

// Fields the program rewrites at every save or open: never a conflict.
constexpr std::string_view kRewrittenKeys[] = {"Filename", "CurrentHolder", "Version"};

}  // namespace

MergeReport mergeIntoMemoFile(MemoFile& ours, const MemoFile* base, const MemoFile& theirs) {
    MergeReport report;
    FieldMerge fields =
        mergeFields(base ? &base->fields : nullptr, ours.fields, theirs.fields, kRewrittenKeys);
    for (const std::string& key : fields.conflicts)
        report.conflicts.push_back("memo file field " + key + ": changed on both sides, ours kept");
    const LineMerge memo = mergeLines(base ? lineViews(base->memo) : LineViews{},
                                      lineViews(ours.memo), lineViews(theirs.memo));
    if (memo.conflicts)
        report.conflicts.emplace_back("memo file text: changed on both sides, ours kept");
    LineBlock memoText = lineBlock(memo.ours);

    HolderListMerge holders(ours, base, theirs);
    holders.plan();
    holders.apply(report);
    ours.fields = std::move(fields.ours);
    ours.memo = std::move(memoText);
    return report;
}

}  // namespace zel
