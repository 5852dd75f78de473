#include "merge/FieldMerge.h"

#include "merge/KeyedMerge.h"
#include "text/Sjis.h"

namespace zel {

namespace {

// The folded key of each line; a line without "=" is keyed by its whole text
// behind an "=", which no key holds.
std::vector<std::string> foldedKeys(const FieldList* fields) {
    std::vector<std::string> keys;
    if (!fields) return keys;
    keys.reserve(fields->size());
    for (std::size_t i = 0; i < fields->size(); ++i) {
        if (fields->hasKeyAt(i))
            keys.push_back(lowerText(fields->keyAt(i)));
        else
            keys.push_back("=" + (*fields)[i]);
    }
    return keys;
}

std::vector<std::string_view> views(const std::vector<std::string>& keys) {
    return {keys.begin(), keys.end()};
}

bool isOneOf(std::string_view folded, std::span<const std::string_view> keys) {
    for (std::string_view key : keys)
        if (folded == lowerText(key)) return true;
    return false;
}

}  // namespace

FieldMerge mergeFields(const FieldList* base, const FieldList& ours, const FieldList& theirs,
                       std::span<const std::string_view> oursKeys) {
    const std::vector<std::string> baseKeys = foldedKeys(base);
    const std::vector<std::string> oursKeysFolded = foldedKeys(&ours);
    const std::vector<std::string> theirsKeys = foldedKeys(&theirs);
    const Alignment alignment =
        alignByKey(views(baseKeys), views(oursKeysFolded), views(theirsKeys));
    const FieldList* versions[] = {base, &ours, &theirs};

    FieldMerge merged;
    std::vector<char> kept(alignment.slots.size(), 0);
    // What each slot contributes to each result: a line index of a version.
    struct Pick {
        const FieldList* oursFrom = nullptr;
        int oursLine = -1;
        const FieldList* theirsFrom = nullptr;
        int theirsLine = -1;
    };
    std::vector<Pick> picks(alignment.slots.size());
    for (std::size_t s = 0; s < alignment.slots.size(); ++s) {
        const MergeSlot& slot = alignment.slots[s];
        const int lines[] = {slot.base, slot.ours, slot.theirs};
        Pick& pick = picks[s];
        auto take = [&](int version) {
            pick.oursFrom = pick.theirsFrom = versions[version];
            pick.oursLine = pick.theirsLine = lines[version];
        };
        const std::string& key = slot.ours >= 0     ? oursKeysFolded[slot.ours]
                                 : slot.theirs >= 0 ? theirsKeys[slot.theirs]
                                                    : baseKeys[slot.base];
        if (isOneOf(key, oursKeys)) {
            if (slot.ours >= 0) take(1);
            kept[s] = slot.ours >= 0;
            continue;
        }
        auto equal = [&](int x, int y) {
            return (*versions[x])[lines[x]] == (*versions[y])[lines[y]];
        };
        switch (decideSlot(slot, equal)) {
            case SlotMerge::Drop:
                continue;
            case SlotMerge::Ours:
                take(1);
                break;
            case SlotMerge::Theirs:
                take(2);
                break;
            case SlotMerge::OursOverDelete:
            case SlotMerge::TheirsOverDelete:
            case SlotMerge::Both:
                pick.oursFrom = &ours;
                pick.oursLine = slot.ours;
                pick.theirsFrom = &theirs;
                pick.theirsLine = slot.theirs;
                merged.conflicts.push_back(std::string(slot.ours >= 0 ? ours.keyAt(slot.ours)
                                                                      : theirs.keyAt(slot.theirs)));
                break;
        }
        kept[s] = 1;
    }
    for (int s : mergedOrder(alignment, kept)) {
        const Pick& pick = picks[s];
        if (pick.oursLine >= 0) merged.ours.append((*pick.oursFrom)[pick.oursLine]);
        if (pick.theirsLine >= 0) merged.theirs.append((*pick.theirsFrom)[pick.theirsLine]);
    }
    return merged;
}

}  // namespace zel
