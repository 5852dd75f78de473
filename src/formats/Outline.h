#pragma once
// Outline text: memo lines in which "{" and "}" on lines of their own open
// and close nested blocks, as figure and scene files of the Poser kind are
// written. Read into a tree of items (every line an item, every block the
// children of the item before it) and written back with tab indentation.
// Blocks introduced by a keyword ("deltas", long lists of numbers) can be kept
// whole as the block text of one item instead of being expanded.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class AgentAPLAbs;

struct OutlineItem {
    std::string text;
    // The block kept whole under a keyword item; empty when there is none.
    std::vector<std::string> block;
    std::vector<std::unique_ptr<OutlineItem>> children;
    OutlineItem* parent = nullptr;
    // The place among the parent's children, kept by the changes below.
    std::size_t row = 0;

    bool hasBlock() const { return !block.empty(); }
    // A line of 251 bytes or more, read as "\" + the line with the line as
    // its block; written back once, as it was read.
    bool isLongLine() const;
    // 0 for a top-level item.
    int level() const;
    // A new last child (or one at `index`), with `text`.
    OutlineItem& addChild(std::string text);
    OutlineItem& insertChild(std::size_t index, std::string text);
    // This item's place among its parent's children.
    std::size_t indexInParent() const;
    // Takes child `index` out, with its children and block.
    std::unique_ptr<OutlineItem> takeChild(std::size_t index);

  private:
    void renumberFrom(std::size_t index);
};

// The collapsed-block keywords of "Poser" nodes; "PoserLike" nodes use none.
const std::vector<std::string>& poserKeywords();

class Outline {
  public:
    Outline() = default;
    // The top-level items follow the root they move to.
    Outline(Outline&& other) noexcept;
    Outline& operator=(Outline&& other) noexcept;

    // The invisible root: its children are the top-level items.
    OutlineItem root;
    // False when a break stopped the reading: the tree holds what was read
    // and must not be written over the text it came from.
    bool complete = true;

    bool empty() const { return root.children.empty(); }
    void clear();
    // Every item, the root not counted.
    std::size_t itemCount() const;
};

// Reads one level of `lines` from `start` into `parent` (none: the top
// level) and yields the index after the block it read, or -1 when a break
// was asked for before it began. `keywords` (lower case) may be null. The
// agent, when given, paces progress messages and lets window events through.
long long readOutline_(Outline& tree, OutlineItem* parent, const std::vector<std::string>& lines,
                       AgentAPLAbs* agent, const std::vector<std::string>* keywords,
                       std::size_t start);
// The whole text: the top level again after a stray "}", so no line after it
// is dropped.
void readWholeOutline(Outline& tree, const std::vector<std::string>& lines, AgentAPLAbs* agent,
                      const std::vector<std::string>* keywords);

// Appends the tree as outline text to `lines`: -1 when no list is given or
// the tree is empty, -2 when a break stopped the writing (the lines then
// hold only part of the tree), otherwise 0.
int writeOutline_(const Outline& tree, std::vector<std::string>* lines, AgentAPLAbs* agent);

// Copies `source` into `target`: its text, its own copy of the block, and
// every descendant. Yields the number of descendants copied.
int copySubtree_(const OutlineItem& source, OutlineItem& target);

// Nesting deeper than this is read as plain lines, so no reader, writer or
// destructor recurses without bound.
inline constexpr int kOutlineMaxDepth = 1000;

}  // namespace zel
