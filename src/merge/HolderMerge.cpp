#include "merge/HolderMerge.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "formats/TContent.h"
#include "merge/FieldMerge.h"
#include "merge/KeyedMerge.h"
#include "merge/LineMerge.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Clock.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

enum { kBase, kOurs, kTheirs };

// One version's nodes with their names and matching keys: "U" + the UID, or
// "N" + the name for a node without one.
struct NodeVersion {
    std::vector<MemoNode*> nodes;
    std::vector<std::string> names;
    std::vector<std::string> keys;

    std::vector<std::string_view> keyViews() const { return {keys.begin(), keys.end()}; }
};

NodeVersion readNodes(const MemoHolder* holder) {
    NodeVersion version;
    if (!holder) return version;
    const int count = holder->count_();
    version.nodes.reserve(count);
    version.names.reserve(count);
    version.keys.reserve(count);
    for (int i = 0; i < count; ++i) {
        MemoNode* node = holder->at_(i);
        version.nodes.push_back(node);
        version.names.push_back(node->getName_());
        const std::string_view uid = trimmedView(unquotedView(node->fields.value("UID")));
        version.keys.push_back(uid.empty() ? "N" + version.names.back() : "U" + std::string(uid));
    }
    return version;
}

bool sameBody(const MemoNode& a, const MemoNode& b) {
    const bool aHas = a.content && a.content->stream, bHas = b.content && b.content->stream;
    return aHas == bHas && (!aHas || *a.content->stream == *b.content->stream);
}

bool sameNode(const MemoNode& a, std::string_view aName, const MemoNode& b,
              std::string_view bName) {
    return aName == bName && a.fields == b.fields && a.comment == b.comment && a.memo == b.memo &&
           sameBody(a, b);
}

// A node as one result of a merge wants it.
struct NodeSide {
    std::string name;
    FieldList fields;
    std::vector<std::string> comment;
    LineBlock memo;
    const MemoNode* body = nullptr;  // the node whose body it carries
};

struct NodeResolution {
    NodeSide ours, theirs;
    // What both sides changed differently: "name", "body", "Memo", "Comment", field keys.
    std::vector<std::string> conflicts;
};

// Which version each result takes of a value both sides hold: true for
// theirs. A conflict takes ours in one and theirs in the other.
struct ValuePick {
    bool oursTakesTheirs = false;
    bool theirsTakesTheirs = true;
    bool conflict = false;
};

template <class Equal>
ValuePick pickValue(bool hasBase, Equal&& equal) {
    switch (decideSlot(MergeSlot{hasBase ? kBase : -1, kOurs, kTheirs}, equal)) {
        case SlotMerge::Theirs:
            return {true, true, false};
        case SlotMerge::Both:
            return {false, true, true};
        default:
            return {false, false, false};
    }
}

// The node's three versions resolved part by part: name, body, fields, memo
// lines and comment lines.
NodeResolution resolveNode(const MemoNode* base, std::string_view baseName, const MemoNode& ours,
                           std::string_view oursName, const MemoNode& theirs,
                           std::string_view theirsName) {
    NodeResolution r;
    const std::string_view names[] = {baseName, oursName, theirsName};
    const ValuePick name =
        pickValue(base != nullptr, [&](int x, int y) { return names[x] == names[y]; });
    r.ours.name = name.oursTakesTheirs ? theirsName : oursName;
    r.theirs.name = name.theirsTakesTheirs ? theirsName : oursName;
    if (name.conflict) r.conflicts.emplace_back("name");

    const MemoNode* nodes[] = {base, &ours, &theirs};
    const ValuePick body =
        pickValue(base != nullptr, [&](int x, int y) { return sameBody(*nodes[x], *nodes[y]); });
    r.ours.body = body.oursTakesTheirs ? &theirs : &ours;
    r.theirs.body = body.theirsTakesTheirs ? &theirs : &ours;
    if (body.conflict) r.conflicts.emplace_back("body");

    FieldMerge fields = mergeFields(base ? &base->fields : nullptr, ours.fields, theirs.fields);
    r.ours.fields = std::move(fields.ours);
    r.theirs.fields = std::move(fields.theirs);
    for (std::string& key : fields.conflicts) r.conflicts.push_back("field " + key);

    const LineMerge memo = mergeLines(base ? lineViews(base->memo) : LineViews{},
                                      lineViews(ours.memo), lineViews(theirs.memo));
    r.ours.memo = lineBlock(memo.ours);
    r.theirs.memo = lineBlock(memo.theirs);
    if (memo.conflicts) r.conflicts.emplace_back("Memo");

    const LineMerge comment = mergeLines(base ? lineViews(base->comment) : LineViews{},
                                         lineViews(ours.comment), lineViews(theirs.comment));
    r.ours.comment.assign(comment.ours.begin(), comment.ours.end());
    r.theirs.comment.assign(comment.theirs.begin(), comment.theirs.end());
    if (comment.conflicts) r.conflicts.emplace_back("Comment");
    return r;
}

// `node` becomes what `side` wants; `carries` is the node whose body it has now.
void applySide(MemoNode& node, NodeSide& side, const MemoNode* carries) {
    if (side.body != carries) node.copyFrom_(*side.body);
    node.fields = std::move(side.fields);
    node.comment = std::move(side.comment);
    node.memo = std::move(side.memo);
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) text += ", ";
        text += part;
    }
    return text;
}

// The holder's settings that the merge decides as a whole.
struct HolderSettings {
    FieldList fields;
    bool sort = false;
    bool ascending = true;
    bool account = false;
    bool autoReload = false;
    bool autoSave = false;
    std::int32_t reloadMinutes = 0;
    std::int32_t saveMinutes = 0;
    std::int32_t countSave = 0;
    DateTime timeReload;
    DateTime timeSaved;
};

// Settings files carry as state, written from the holder's members rather
// than its fields: the fields' copies are left as ours has them.
constexpr std::string_view kStateKeys[] = {
    "curIndex",   "flagSort",     "flagAscending", "flagAccount", "flagAutoReLoad", "ReloadMinutes",
    "TimeReLoad", "flagAutoSave", "SaveMinutes",   "TimeSaved",   "CountSave",      "FileName"};

class SettingsMerge {
  public:
    SettingsMerge(const MemoHolder* base, const MemoHolder& ours, const MemoHolder& theirs,
                  MergeReport& report)
        : holders_{base, &ours, &theirs}, report_(report) {}

    HolderSettings merge();

  private:
    void bothChanged(std::string_view what) {
        report_.conflicts.push_back("holder setting " + std::string(what) +
                                    ": changed on both sides, ours kept");
    }

    template <class Get>
    auto valueOf(Get get, int version) const {
        return get(*holders_[version]);
    }

    template <class Get>
    ValuePick pick(Get get) const {
        return pickValue(holders_[kBase] != nullptr,
                         [&](int x, int y) { return valueOf(get, x) == valueOf(get, y); });
    }

    template <class Get>
    auto choice(Get get, std::string_view what) {
        const ValuePick p = pick(get);
        if (p.conflict) bothChanged(what);
        return valueOf(get, p.oursTakesTheirs ? kTheirs : kOurs);
    }

    template <class Get>
    auto latest(Get get) const {
        const ValuePick p = pick(get);
        if (p.conflict) return std::max(valueOf(get, kOurs), valueOf(get, kTheirs));
        return valueOf(get, p.oursTakesTheirs ? kTheirs : kOurs);
    }

    const MemoHolder* holders_[3];
    MergeReport& report_;
};

HolderSettings SettingsMerge::merge() {
    HolderSettings s;
    FieldMerge fields = mergeFields(holders_[kBase] ? &holders_[kBase]->fields : nullptr,
                                    holders_[kOurs]->fields, holders_[kTheirs]->fields, kStateKeys);
    s.fields = std::move(fields.ours);
    for (const std::string& key : fields.conflicts) bothChanged(key);
    s.sort = choice([](const MemoHolder& h) { return h.getSort_(); }, "flagSort");
    s.ascending = choice([](const MemoHolder& h) { return h.getAscending_(); }, "flagAscending");
    s.account = choice([](const MemoHolder& h) { return h.flagAccount; }, "flagAccount");
    s.autoReload = choice([](const MemoHolder& h) { return h.flagAutoReLoad; }, "flagAutoReLoad");
    s.autoSave = choice([](const MemoHolder& h) { return h.flagAutoSave; }, "flagAutoSave");
    s.reloadMinutes = choice([](const MemoHolder& h) { return h.reloadMinutes; }, "ReloadMinutes");
    s.saveMinutes = choice([](const MemoHolder& h) { return h.saveMinutes; }, "SaveMinutes");
    // Counters and time stamps that both sides moved on: the later one.
    s.countSave = latest([](const MemoHolder& h) { return h.countSave; });
    s.timeReload = latest([](const MemoHolder& h) { return h.timeReload; });
    s.timeSaved = latest([](const MemoHolder& h) { return h.timeSaved; });
    return s;
}

void applySettings(MemoHolder& holder, HolderSettings& s) {
    holder.fields = std::move(s.fields);
    holder.setSort_(s.sort);
    holder.setAscending_(s.ascending);
    holder.flagAccount = s.account;
    holder.flagAutoReLoad = s.autoReload;
    holder.flagAutoSave = s.autoSave;
    holder.reloadMinutes = s.reloadMinutes;
    holder.saveMinutes = s.saveMinutes;
    holder.countSave = s.countSave;
    holder.timeReload = s.timeReload;
    holder.timeSaved = s.timeSaved;
}

// What the merge does with one node, decided before anything changes.
struct NodePlan {
    SlotMerge merge = SlotMerge::Drop;
    std::unique_ptr<NodeResolution> resolution;  // for Both
};

class HolderMerger {
  public:
    HolderMerger(MemoHolder& ours, const MemoHolder* base, const MemoHolder& theirs,
                 const MergeOptions& options)
        : ours_(ours),
          versions_{readNodes(base), readNodes(&ours), readNodes(&theirs)},
          alignment_(alignByKey(versions_[kBase].keyViews(), versions_[kOurs].keyViews(),
                                versions_[kTheirs].keyViews())),
          options_(options),
          stamp_(formatDateTime("yyyymmdd hhnnss", options.when.value_or(clockNow()))) {}

    void plan() {
        plans_.resize(alignment_.slots.size());
        kept_.assign(alignment_.slots.size(), 0);
        for (std::size_t s = 0; s < plans_.size(); ++s) planSlot(s);
        order_ = mergedOrder(alignment_, kept_);
    }

    // Takes every node out of ours and enters the merged list in order.
    void apply(MergeReport& report) {
        MemoNode* current = ours_.getCurrent_();
        const NodeVersion& mine = versions_[kOurs];
        taken_.resize(mine.nodes.size());
        for (std::size_t i = mine.nodes.size(); i-- > 0;)
            taken_[i] = ours_.removeNode_(mine.nodes[i]);
        bool currentKept = false;
        for (int s : order_) {
            const MergeSlot& slot = alignment_.slots[s];
            if (slot.ours >= 0 && mine.nodes[slot.ours] == current) currentKept = true;
            enterSlot(slot, plans_[s], report);
        }
        if (currentKept) ours_.setCurrent_(current);
    }

  private:
    const MemoNode* node(int version, int index) const { return versions_[version].nodes[index]; }
    const std::string& name(int version, int index) const {
        return versions_[version].names[index];
    }

    void planSlot(std::size_t s) {
        const MergeSlot& slot = alignment_.slots[s];
        const int at[] = {slot.base, slot.ours, slot.theirs};
        auto equal = [&](int x, int y) {
            return sameNode(*node(x, at[x]), name(x, at[x]), *node(y, at[y]), name(y, at[y]));
        };
        NodePlan& plan = plans_[s];
        plan.merge = decideSlot(slot, equal);
        if (plan.merge == SlotMerge::Both) {
            const bool inBase = slot.base >= 0;
            plan.resolution = std::make_unique<NodeResolution>(resolveNode(
                inBase ? node(kBase, slot.base) : nullptr, inBase ? name(kBase, slot.base) : "",
                *node(kOurs, slot.ours), name(kOurs, slot.ours), *node(kTheirs, slot.theirs),
                name(kTheirs, slot.theirs)));
        }
        kept_[s] = plan.merge != SlotMerge::Drop;
    }

    // A node of the kind ours makes (a window's holder makes nodes that can
    // open windows of their own), holding theirs.
    std::unique_ptr<MemoNode> cloneTheirs(int index) const {
        std::unique_ptr<MemoNode> copy = ours_.newNode_();
        copy->copyFrom_(*node(kTheirs, index));
        return copy;
    }

    void enterSlot(const MergeSlot& slot, NodePlan& plan, MergeReport& report) {
        switch (plan.merge) {
            case SlotMerge::Drop:
                return;
            case SlotMerge::Ours:
                enter(std::move(taken_[slot.ours]), name(kOurs, slot.ours));
                return;
            case SlotMerge::OursOverDelete:
                report.conflicts.push_back(name(kOurs, slot.ours) +
                                           ": deleted in theirs, changed in ours: kept");
                enter(std::move(taken_[slot.ours]), name(kOurs, slot.ours));
                return;
            case SlotMerge::TheirsOverDelete:
                report.conflicts.push_back(name(kTheirs, slot.theirs) +
                                           ": deleted in ours, changed in theirs: kept");
                enter(cloneTheirs(slot.theirs), name(kTheirs, slot.theirs));
                return;
            case SlotMerge::Theirs:
                enterTheirs(slot);
                return;
            case SlotMerge::Both:
                enterMerged(slot, *plan.resolution, report);
                return;
        }
    }

    // Their version, into our node object when we hold one.
    void enterTheirs(const MergeSlot& slot) {
        if (slot.ours < 0) {
            enter(cloneTheirs(slot.theirs), name(kTheirs, slot.theirs));
            return;
        }
        std::unique_ptr<MemoNode> mine = std::move(taken_[slot.ours]);
        mine->copyFrom_(*node(kTheirs, slot.theirs));
        enter(std::move(mine), name(kTheirs, slot.theirs));
    }

    void enterMerged(const MergeSlot& slot, NodeResolution& r, MergeReport& report) {
        std::unique_ptr<MemoNode> mine = std::move(taken_[slot.ours]);
        applySide(*mine, r.ours, node(kOurs, slot.ours));
        enter(std::move(mine), r.ours.name);
        if (r.conflicts.empty()) return;
        std::unique_ptr<MemoNode> copy = cloneTheirs(slot.theirs);
        applySide(*copy, r.theirs, node(kTheirs, slot.theirs));
        copy->putField_(kConflictFromKey, wrapQuotes(options_.theirsLabel));
        // Two nodes of one UID would be one node to the next merge.
        if (!copy->getField_("UID").empty()) copy->newUID_();
        const std::string copyName = r.theirs.name + " (conflict " + stamp_ + ")";
        report.conflicts.push_back(r.ours.name + ": changed on both sides (" + joined(r.conflicts) +
                                   "): theirs kept as " + copyName);
        enter(std::move(copy), copyName);
    }

    void enter(std::unique_ptr<MemoNode> node, const std::string& name) {
        ours_.insertNode_(std::move(node), name, -1);
    }

    MemoHolder& ours_;
    const NodeVersion versions_[3];
    const Alignment alignment_;
    const MergeOptions& options_;
    const std::string stamp_;
    std::vector<NodePlan> plans_;
    std::vector<char> kept_;
    std::vector<int> order_;
    std::vector<std::unique_ptr<MemoNode>> taken_;
};

}  // namespace

MergeReport mergeIntoHolder(MemoHolder& ours, const MemoHolder* base, const MemoHolder& theirs,
                            const MergeOptions& options) {
    MergeReport report;
    HolderMerger nodes(ours, base, theirs, options);
    nodes.plan();
    HolderSettings settings = SettingsMerge(base, ours, theirs, report).merge();
    nodes.apply(report);
    applySettings(ours, settings);
    if (ours.getSort_()) ours.nodes->keepOrder_();
    return report;
}

}  // namespace zel
