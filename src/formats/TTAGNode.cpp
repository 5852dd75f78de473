#include "formats/TTAGNode.h"

#include <span>
#include <utility>

#include "object/Report.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

void addTextOf(TTAGNode& element, std::string_view word) {
    // "&" lies below 0x40, so it is never the second byte of a character.
    if (word.find('&') != std::string_view::npos)
        element.addText(unescapeMarkup(word));
    else
        element.addText(word);
}

}  // namespace

void pairTrimmedAttributes(std::span<const std::string_view> tokens,
                           std::vector<std::string>& lines);

std::vector<std::string> pairAttributes(std::vector<std::string> tokens) {
    std::vector<std::string_view> trimmed(tokens.begin(), tokens.end());
    for (auto& token : trimmed) token = trimmedView(token);
    std::vector<std::string> lines;
    pairTrimmedAttributes(trimmed, lines);
    return lines;
}

TagParts parseTag(std::string_view word) {
    MarkupTag tag;
    tag.read(word);
    return TagParts{std::string(tag.name()), tag.attributes(), tag.selfClosing(), tag.closing()};
}

class TTAGNode::Pool {
  public:
    TTAGNode* make() {
        if (next_ == blocks_.size() * kBlockSize)
            blocks_.push_back(std::make_unique<TTAGNode[]>(kBlockSize));
        TTAGNode& node = at(next_);
        node.poolSlot_ = next_++;
        return &node;
    }

    // Every element made after `first` lies inside it once it is closed, so
    // freeing `first` frees the tail of the pool from its slot on.
    void recycleFrom(const TTAGNode& first) {
        for (std::size_t slot = first.poolSlot_; slot < next_; ++slot) at(slot).recycle();
        next_ = first.poolSlot_;
    }

  private:
    static constexpr std::size_t kBlockSize = 256;
    TTAGNode& at(std::size_t slot) { return blocks_[slot / kBlockSize][slot % kBlockSize]; }

    std::vector<std::unique_ptr<TTAGNode[]>> blocks_;
    std::size_t next_ = 0;
};

TTAGNode::TTAGNode() = default;
TTAGNode::~TTAGNode() = default;

TTAGNode::Pool& TTAGNode::pool() {
    if (!pool_) {
        ownPool_ = std::make_unique<Pool>();
        pool_ = ownPool_.get();
    }
    return *pool_;
}

void TTAGNode::recycle() {
    name.clear();
    attributes.clear();
    parent = nullptr;
    endName.clear();
    itemCount_ = 0;
}

void TTAGNode::offerLastItem(const ItemSink& sink) {
    if (!sink || !sink(*this, items_[itemCount_ - 1])) return;
    TTAGNode* taken = items_[--itemCount_].object;
    if (taken) pool().recycleFrom(*taken);
}

TTAGNode::Item& TTAGNode::appendItem() {
    if (itemCount_ == items_.size()) items_.emplace_back();
    return items_[itemCount_++];
}

void TTAGNode::addText(std::string_view text) {
    Item& item = appendItem();
    item.text.assign(text);
    item.object = nullptr;
}

TTAGNode* TTAGNode::getElement_(std::string_view wanted) const {
    if (trimText(wanted).empty()) return nullptr;
    for (const auto& item : items())
        if (item.object && item.object->name == wanted) return item.object;
    return nullptr;
}

std::string TTAGNode::getAttr_(std::string_view key) const {
    return std::string(attributeValue(attributes, key));
}

std::string TTAGNode::attrLine_(int i) const {
    if (i < 0 || i >= attrCount_()) return {};
    return attributes[static_cast<std::size_t>(i)];
}

int TTAGNode::attrPair_(int i, std::string& key, std::string& value) const {
    if (attributes.empty()) return -1;
    if (i < 0 || i >= attrCount_()) return -2;
    std::string_view line = attributes[static_cast<std::size_t>(i)];
    std::size_t eq = findSingleByte(line, '=');
    if (eq == std::string_view::npos) {
        key = trimText(line);
        value.clear();
        return 0;
    }
    key = trimText(line.substr(0, eq));
    value = trimText(line.substr(eq + 1));
    return i;
}

std::string TTAGNode::attrText_() const {
    std::string text;
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        if (i > 0) text += "\r\n";
        text += attributes[i];
    }
    return text;
}

TTAGNode* TTAGNode::addNew___(TTAGNode* parent, std::string name,
                              std::vector<std::string> attributes, std::string_view word) {
    if (!parent) {
        reportElementWithoutParent(word);
        return nullptr;
    }
    TTAGNode* child = parent->pool().make();
    child->name = std::move(name);
    child->attributes = std::move(attributes);
    child->parent = parent;
    child->pool_ = parent->pool_;
    Item& item = parent->appendItem();
    item.text.assign(word);
    item.object = child;
    return child;
}

// Builds the elements the words describe below `root`, handing each complete
// item to the sink as it goes.
class TTAGNode::TreeBuilder {
  public:
    TreeBuilder(TTAGNode& root, const ItemSink& sink) : sink_(sink) { open_.push_back(&root); }

    void start(std::size_t depth, const MarkupTag& tag) {
        TTAGNode* child =
            addNew___(open_[depth - 1], std::string(tag.name()), tag.attributes(), tag.word());
        open_.resize(depth);
        open_.push_back(child);
    }
    void closeTag(std::size_t depth, std::string_view name) { open_[depth]->endName = name; }
    void end(std::size_t depth) {
        open_.resize(depth);
        open_[depth - 1]->offerLastItem(sink_);
    }
    void text(std::size_t depth, std::string_view raw) {
        addTextOf(*open_[depth], raw);
        open_[depth]->offerLastItem(sink_);
    }
    bool stopped() const { return false; }

  private:
    const ItemSink& sink_;
    // The open elements from the root down.
    std::vector<TTAGNode*> open_;
};

int TTAGNode::FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors) {
    return FromXMLWordList_aOUT_(words, errors, ItemSink());
}

int TTAGNode::FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors,
                                    const ItemSink& sink) {
    TreeBuilder tree(*this, sink);
    MarkupBuilder<TreeBuilder> builder(tree, errors);
    for (std::string_view word : words)
        if (!builder.word(word)) break;
    return builder.result();
}

}  // namespace zel
