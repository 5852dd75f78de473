#pragma once
// Going to a node by typing part of its name: the node names of every holder
// of a memo file, matched as the user types. A name matches when it holds the
// typed text or when the initials of its words do; letter case folds as the
// search folds it, and full-width Latin letters, digits and the full-width
// blank count as their half-width forms. Best matches come first: the whole
// name, then a name that begins with the text, then the text at the start of
// a word, anywhere else, then the initials; shorter names before longer ones,
// then the order of the holders and their nodes.
//
// Names of holders that are not loaded come from a name-only read of their
// files, kept until the file changes.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zel {

// The case fold of the search, then full-width Latin letters, digits and the
// full-width blank to their half-width forms.
std::string foldForFinding(std::string_view name);

// One node of the index: the holder it is in (by position in the memo file),
// its name, and how many nodes of that holder before it carry the very same
// name, so that a name held twice leads to the right node.
struct FinderEntry {
    std::size_t holder = 0;
    std::size_t sameNameBefore = 0;
    std::string name;
};

struct FinderMatch {
    std::size_t entry = 0;
    int rank = 0;  // higher is better
};

class NodeNameIndex {
  public:
    void clear();
    // Appends the names of the holder at `holder`, in the holder's order.
    void addHolder(std::size_t holder, const std::vector<std::string>& names);
    std::size_t size() const { return entries_.size(); }
    const FinderEntry& entry(std::size_t index) const { return entries_[index].entry; }
    // The best `limit` matches of `typed`, best first; none for blank text.
    std::vector<FinderMatch> find(std::string_view typed, std::size_t limit) const;

  private:
    struct Indexed {
        FinderEntry entry;
        std::string folded;
        std::string initials;  // folded, one character per word
    };
    int rankOf(const Indexed& indexed, std::string_view folded) const;
    std::vector<Indexed> entries_;
};

// The node names of holder markup, in the order of its records: each
// record's name attribute without its quotes, as reading the holder takes it.
std::vector<std::string> holderMarkupNodeNames(std::string_view markup);

// The node names of the holder files of a memo file, read name-only and kept
// until a file's size or time changes.
class HolderNameCache {
  public:
    // The names in the holder file at `path`; none when it cannot be read.
    const std::vector<std::string>* names(const std::string& path);
    // How many files were read (not answered from the cache) so far.
    std::size_t reads() const { return reads_; }

  private:
    struct Cached {
        std::uint64_t size = 0;
        std::chrono::system_clock::time_point modified;
        std::vector<std::string> names;
    };
    std::unordered_map<std::string, Cached> cached_;
    std::size_t reads_ = 0;
};

}  // namespace zel
