#include "object/TObjectParent.h"

#include <algorithm>

#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

// Every variant the unique-name rule makes of a name differs from it only in
// the digits of its last run, or adds "_" and digits: folded and without
// digits, a variant reads as the name or as the name and "_".
std::string digitlessFold(std::string_view name) {
    std::string folded = lowerText(name);
    std::erase_if(folded, [](char c) { return c >= '0' && c <= '9'; });
    return folded;
}

}  // namespace

TObjectParent::TObjectParent(TObjectNamed* owner_) : TObjectNamed(owner_) {
    TObjectParent::clear_();
}

TObjectParent::~TObjectParent() {
    TObjectParent::clear_();
}

int TObjectParent::clear_() {
    // Children are destroyed in list order, before the list is emptied.
    for (auto& entry : entries_) entry.child.reset();
    entries_.clear();
    byName_.clear();
    sharedNames_ = 0;
    ++orderChanges_;
    forgetSearches();
    return 0;
}

std::size_t TObjectParent::indexKey(std::string_view name) const {
    lowerTextInto(name, foldBuffer_);
    return std::hash<std::string_view>{}(foldBuffer_);
}

void TObjectParent::indexChild(TObjectNamed* child, std::string_view name) {
    NameGroup& group = byName_[indexKey(name)];
    if (group.many) {
        group.many->insert(child);
    } else if (group.one) {
        ++sharedNames_;
        group.many = std::make_unique<std::set<TObjectNamed*, InListOrder>>();
        group.many->insert(group.one);
        group.many->insert(child);
        group.one = nullptr;
    } else {
        group.one = child;
    }
}

bool TObjectParent::unindexChild(const TObjectNamed* child, std::string_view name) {
    auto found = byName_.find(indexKey(name));
    if (found == byName_.end()) return true;
    NameGroup& group = found->second;
    if (!group.many) {
        if (group.one == child) byName_.erase(found);
        return true;
    }
    group.many->erase(const_cast<TObjectNamed*>(child));
    if (group.many->empty()) {
        --sharedNames_;
        byName_.erase(found);
        return true;
    }
    bool freed = true;
    for (const TObjectNamed* other : *group.many) {
        if (sameText(entries_[slotOf(other)].name, name)) {
            freed = false;
            break;
        }
    }
    if (group.many->size() == 1) {
        --sharedNames_;
        group.one = *group.many->begin();
        group.many.reset();
    }
    return freed;
}

void TObjectParent::regroupInListOrder() {
    for (auto& [key, group] : byName_) {
        if (!group.many) continue;
        std::vector<TObjectNamed*> members(group.many->begin(), group.many->end());
        group.many->clear();
        group.many->insert(members.begin(), members.end());
    }
}

void TObjectParent::nameFreed(std::string_view name) const {
    if (searches_.empty()) return;
    std::string stem = digitlessFold(name);
    auto drop = [this](const std::string& key) {
        auto found = searches_.find(key);
        if (found == searches_.end()) return;
        searchCount_ -= found->second.size();
        searches_.erase(found);
    };
    drop(stem);
    if (!stem.empty() && stem.back() == '_') {
        stem.pop_back();
        drop(stem);
    }
}

void TObjectParent::numberSlots(std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) entries_[i].child->slot_ = i;
}

int TObjectParent::indexOfChild(const TObjectNamed* child) const {
    if (!child) return -1;
    const std::size_t slot = child->slot_;
    return slot < entries_.size() && entries_[slot].child.get() == child ? static_cast<int>(slot)
                                                                         : -1;
}

int TObjectParent::indexOfName(std::string_view name) const {
    auto found = byName_.find(indexKey(name));
    if (found == byName_.end()) return -1;
    const NameGroup& group = found->second;
    if (!group.many) {
        const std::size_t slot = slotOf(group.one);
        return sameText(entries_[slot].name, name) ? static_cast<int>(slot) : -1;
    }
    for (const TObjectNamed* child : *group.many) {
        const std::size_t slot = slotOf(child);
        if (sameText(entries_[slot].name, name)) return static_cast<int>(slot);
    }
    return -1;
}

TObjectNamed* TObjectParent::getChild_(std::string_view name) const {
    int index = indexOfName(name);
    return index < 0 ? nullptr : entries_[index].child.get();
}

// Only file readers ask this, once per file, so a scan serves; an index on the
// trimmed name would put every blank-padded variant of a name in one bucket.
TObjectNamed* TObjectParent::findChild_(std::string_view name) const {
    const std::string_view wanted = trimmedView(name);
    for (const auto& entry : entries_)
        if (sameText(trimmedView(entry.name), wanted)) return entry.child.get();
    return nullptr;
}

std::string TObjectParent::getNameChild_(const TObjectNamed* child) const {
    int index = indexOfChild(child);
    return index < 0 ? std::string() : entries_[index].name;
}

std::string TObjectParent::uniqueName_(std::string_view wantedName) const {
    const int carrier = indexOfName(wantedName);
    if (carrier < 0) return std::string(wantedName);
    auto indexOf = [this](std::string_view name) { return indexOfName(name); };
    // The candidates of a name without digits begin at its carrier's index.
    std::string key(wantedName);
    if (!containsDigit(wantedName)) key += '\0' + std::to_string(carrier);
    constexpr std::size_t kRemembered = 4096;
    if (searchCount_ >= kRemembered) forgetSearches();
    auto& cursors = searches_[digitlessFold(wantedName)];
    auto [cursor, added] = cursors.try_emplace(std::move(key));
    if (added) ++searchCount_;
    return uniqueName(wantedName, indexOf, cursor->second);
}

std::string TObjectParent::putNameChild_as_(TObjectNamed* child, std::string_view wantedName) {
    if (wantedName.empty()) return {};
    int index = indexOfChild(child);
    if (index < 0) return {};
    int clash = indexOfName(wantedName);
    if (clash == index) return {};
    std::string result = clash < 0 ? std::string(wantedName) : uniqueName_(wantedName);
    Entry& entry = entries_[index];
    if (unindexChild(child, entry.name)) nameFreed(entry.name);
    entry.name = result;
    indexChild(child, entry.name);
    ++orderChanges_;
    return result;
}

void TObjectParent::insertChildRaw_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                    std::string_view name) {
    if (!child) return;
    child->owner = this;
    std::size_t position = (!entries_.empty() && index < entries_.size()) ? index : entries_.size();
    TObjectNamed* entered = child.get();
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position),
                    Entry{std::string(name), std::move(child)});
    // Numbered first: the name group orders its children by their places.
    numberSlots(position, entries_.size());
    indexChild(entered, entries_[position].name);
    ++orderChanges_;
}

void TObjectParent::addChildRaw_(std::unique_ptr<TObjectNamed> child, std::string_view name) {
    insertChildRaw_(entries_.size(), std::move(child), name);
}

std::string TObjectParent::insertChild_(std::size_t index, std::unique_ptr<TObjectNamed> child,
                                        std::string_view wantedName) {
    std::string name = uniqueName_(wantedName);
    insertChildRaw_(index, std::move(child), name);
    return name;
}

// A name not taken yet, the common case of a file being read, costs one fold
// and one probe of the index, which both finds it free and makes its place.
std::string TObjectParent::addChild_(std::unique_ptr<TObjectNamed> child,
                                     std::string_view wantedName) {
    if (child) {
        auto [place, fresh] = byName_.try_emplace(indexKey(wantedName));
        if (fresh) {
            TObjectNamed* entered = child.get();
            child->owner = this;
            try {
                entries_.push_back(Entry{std::string(wantedName), std::move(child)});
            } catch (...) {
                byName_.erase(place);
                throw;
            }
            numberSlots(entries_.size() - 1, entries_.size());
            place->second.one = entered;
            ++orderChanges_;
            return std::string(wantedName);
        }
    }
    std::string name = uniqueName_(wantedName);
    addChildRaw_(std::move(child), name);
    return name;
}

void TObjectParent::moveChildTo_(std::size_t from, std::size_t to) {
    if (entries_.empty()) return;
    from = std::min(from, entries_.size() - 1);
    to = std::min(to, entries_.size() - 1);
    if (from == to) return;
    // Only the moved child changes its order among the others.
    TObjectNamed* moved = entries_[from].child.get();
    auto found = byName_.find(indexKey(entries_[from].name));
    auto* group = found != byName_.end() ? found->second.many.get() : nullptr;
    if (group) group->erase(moved);
    if (from < to)
        std::rotate(entries_.begin() + from, entries_.begin() + from + 1,
                    entries_.begin() + to + 1);
    else
        std::rotate(entries_.begin() + to, entries_.begin() + from, entries_.begin() + from + 1);
    numberSlots(std::min(from, to), std::max(from, to) + 1);
    if (group) group->insert(moved);
    ++orderChanges_;
}

int TObjectParent::moveChildUp_(TObjectNamed* child) {
    int index = indexOfChild(child);
    if (index <= 0) return index;
    moveChildTo_(index, index - 1);
    return index - 1;
}

int TObjectParent::moveChildDown_(TObjectNamed* child) {
    int index = indexOfChild(child);
    if (index < 0 || index >= static_cast<int>(entries_.size()) - 1) return index;
    moveChildTo_(index, index + 1);
    return index + 1;
}

std::unique_ptr<TObjectNamed> TObjectParent::extractChild_(TObjectNamed* child) {
    int index = indexOfChild(child);
    if (index < 0) return nullptr;
    if (unindexChild(child, entries_[index].name)) nameFreed(entries_[index].name);
    Entry entry = std::move(entries_[index]);
    entries_.erase(entries_.begin() + index);
    numberSlots(static_cast<std::size_t>(index), entries_.size());
    return std::move(entry.child);
}

void TObjectParent::truncateChildren_(std::size_t count) {
    while (entries_.size() > count) {
        Entry& last = entries_.back();
        if (unindexChild(last.child.get(), last.name)) nameFreed(last.name);
        last.child.reset();
        entries_.pop_back();
    }
}

bool TObjectParent::deleteChild_(TObjectNamed* child) {
    return extractChild_(child) != nullptr;
}

void TObjectParent::copyFrom_(const TObjectNamed& source) {
    TObjectNamed::copyFrom_(source);
    const auto* parent = dynamic_cast<const TObjectParent*>(&source);
    if (!parent || parent == this) return;
    TObjectParent::clear_();
    entries_.reserve(parent->entries_.size());
    for (const auto& entry : parent->entries_) addChildRaw_(entry.child->deepCopy(), entry.name);
}

TObjectParentEX::TObjectParentEX(TObjectNamed* owner_) : TObjectParent(owner_) {
    TObjectParentEX::clear_();
}

int TObjectParentEX::clear_() {
    TObjectParent::clear_();
    flagSort = false;
    flagAscending = true;
    return 0;
}

// Renaming one entry of a list known to be in order moves just that entry; a
// descending list with repeated names is sorted whole, as its stable sort
// followed by the reversal turns every run of equal names around.
std::string TObjectParentEX::putNameChild_as_(TObjectNamed* child, std::string_view wantedName) {
    const bool wasInOrder = flagSort && knownInOrder();
    std::string result = TObjectParent::putNameChild_as_(child, wantedName);
    if (!wasInOrder || !(flagAscending || !hasSharedNames())) {
        keepOrder_();
        return result;
    }
    if (!result.empty()) placeInOrder(static_cast<std::size_t>(indexOfChild(child)));
    markInOrder();
    return result;
}

std::string TObjectParentEX::addChild_(std::unique_ptr<TObjectNamed> child,
                                       std::string_view wantedName) {
    const bool wasInOrder = flagSort && knownInOrder();
    std::string result = TObjectParent::addChild_(std::move(child), wantedName);
    if (flagSort) placeLastInOrder(wasInOrder);
    return result;
}

bool TObjectParentEX::inOrder(std::string_view before, std::string_view after) const {
    int order = compareText(before, after);
    return flagAscending ? order <= 0 : order >= 0;
}

// A sorted holder gains nodes one at a time; a full sort per node would make
// filling it quadratic, so an entry added to an ordered list is moved into place.
void TObjectParentEX::placeLastInOrder(bool knownInOrder) {
    const std::size_t last = childCount() - 1;
    for (std::size_t i = 1; !knownInOrder && i < last; ++i) {
        if (!inOrder(nameAt(i - 1), nameAt(i))) {
            keepOrder_();
            return;
        }
    }
    // Equal names: the newcomer goes last ascending and first descending, as a
    // stable sort followed by the reversal would place it.
    const std::string name = nameAt(last);
    auto comesBefore = [&](std::size_t i) {
        int order = compareText(nameAt(i), name);
        return flagAscending ? order <= 0 : order > 0;
    };
    std::size_t low = 0, high = last;
    while (low < high) {
        std::size_t mid = (low + high) / 2;
        if (comesBefore(mid))
            low = mid + 1;
        else
            high = mid;
    }
    moveChildTo_(last, low);
    markInOrder();
}

void TObjectParentEX::placeInOrder(std::size_t index) {
    const std::string name = nameAt(index);
    // The other entries, in order, as a list of one entry less.
    auto otherName = [&](std::size_t i) -> const std::string& {
        return nameAt(i < index ? i : i + 1);
    };
    auto firstWhere = [&](auto&& comesBefore) {
        std::size_t low = 0, high = childCount() - 1;
        while (low < high) {
            const std::size_t mid = (low + high) / 2;
            if (comesBefore(compareText(otherName(mid), name)))
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    };
    // Equal names keep their order, so the entry stays among them where it was.
    const std::size_t first =
        firstWhere([this](int order) { return flagAscending ? order < 0 : order > 0; });
    const std::size_t last =
        firstWhere([this](int order) { return flagAscending ? order <= 0 : order >= 0; });
    moveChildTo_(index, std::clamp(index, first, last));
}

void TObjectParentEX::copyFrom_(const TObjectNamed& source) {
    TObjectParent::copyFrom_(source);
    if (const auto* ex = dynamic_cast<const TObjectParentEX*>(&source)) {
        flagSort = ex->flagSort;
        flagAscending = ex->flagAscending;
    }
}

void TObjectParentEX::keepOrder_() {
    if (!flagSort) return;
    reorderEntries([this](std::vector<Entry>& entries) {
        std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
            return compareText(a.name, b.name) < 0;
        });
        if (!flagAscending) std::reverse(entries.begin(), entries.end());
    });
    markInOrder();
}

}  // namespace zel
