#pragma once
// The element tree of the tag reader. It is not a general XML parser but a
// small forgiving one for the program's own record markup: tags become
// elements with `key=value` attribute lines, text runs become text items, and
// elements left open at the end are accepted.

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MarkupTree.h"
#include "formats/MarkupWords.h"

namespace zel {

// One tag word taken apart.
struct TagParts {
    std::string name;
    // Paired `key=value` lines, values with their quotes, unescaped.
    std::vector<std::string> attributes;
    bool selfClosing = false;
    bool closing = false;
};

// Name, attribute lines and flags of a tag word such as `<Field a="x" />`.
TagParts parseTag(std::string_view word);
// Pairs attribute tokens into `key=value` lines: `a = "x"` gives a="x", a bare
// `a` before another token gives a="", the last bare token stays as it is.
std::vector<std::string> pairAttributes(std::vector<std::string> tokens);

class TTAGNode {
  public:
    // A text run (no object) or a child element (the tag word as written).
    // Child elements belong to the tree: they live as long as its top element.
    struct Item {
        std::string text;
        TTAGNode* object = nullptr;
    };

    TTAGNode();
    ~TTAGNode();
    TTAGNode(const TTAGNode&) = delete;
    TTAGNode& operator=(const TTAGNode&) = delete;

    // The tag name as written ("Record", "?xml", "!--"); empty for the root.
    std::string name;
    // `key=value` lines with their quotes, unescaped; empty when the tag had
    // no attribute tokens.
    std::vector<std::string> attributes;
    TTAGNode* parent = nullptr;
    // The name found in the closing tag.
    std::string endName;

    std::size_t count() const { return itemCount_; }
    const std::string& itemText(std::size_t i) const { return items_[i].text; }
    // The child element of item i; none for a text run.
    TTAGNode* itemObject(std::size_t i) const { return items_[i].object; }
    std::span<const Item> items() const { return {items_.data(), itemCount_}; }
    void addText(std::string_view text);

    // First child element named exactly `name`; none for an empty or blank name.
    TTAGNode* getElement_(std::string_view name) const;
    // Raw value (quotes kept) of attribute `key`, compared without regard to
    // case; empty when absent.
    std::string getAttr_(std::string_view key) const;
    int attrCount_() const { return static_cast<int>(attributes.size()); }
    // Empty when out of range.
    std::string attrLine_(int i) const;
    // Key and value of line i, both trimmed: i when the line has "=", 0 when
    // not (key the whole line), -2 out of range, -1 without attributes.
    int attrPair_(int i, std::string& key, std::string& value) const;
    // The attribute lines joined with CR LF.
    std::string attrText_() const;

    // A new child of `parent` with `word` as its item text; without parent it
    // reports and yields none.
    static TTAGNode* addNew___(TTAGNode* parent, std::string name,
                               std::vector<std::string> attributes, std::string_view word);

    // Builds the tree under this element from `words`: 0, or -1 after the
    // error lines (if any) were appended to `errors`. What was built stays.
    int FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors);

    // Told of each item as it is complete - a text run when it is read, an
    // element when it closes - with the element it belongs to. Returning true
    // takes the item: it leaves that element, and its elements are reused.
    using ItemSink = std::function<bool(const TTAGNode& owner, const Item& item)>;
    // As above, handing complete items to `sink`, so a large text can be read
    // without ever holding its whole tree. Items still open at the end stay.
    int FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors,
                              const ItemSink& sink);

  private:
    // The elements below a top element are made in blocks that the top element
    // owns: a large tree costs a few allocations, and tearing down a deep one
    // needs no recursion.
    class Pool;
    class TreeBuilder;
    Pool& pool();
    // Empties a pooled element for reuse; its buffers keep their capacity.
    void recycle();
    // Offers the last item to `sink`; a taken element goes back to the pool.
    void offerLastItem(const ItemSink& sink);
    // A slot after the last item. Slots of items taken or recycled keep their
    // text buffers, so a streaming parse stops allocating once warm.
    Item& appendItem();

    std::vector<Item> items_;
    std::size_t itemCount_ = 0;
    std::unique_ptr<Pool> ownPool_;
    Pool* pool_ = nullptr;
    std::size_t poolSlot_ = 0;
};

inline int parseMarkup(TTAGNode& root, const WordList& words, std::vector<std::string>& errors) {
    return root.FromXMLWordList_aOUT_(words, errors);
}

}  // namespace zel
