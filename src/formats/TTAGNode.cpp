#include "formats/TTAGNode.h"

#include <span>
#include <utility>

#include "object/Report.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

bool isQuote(char c) {
    return c == '"' || c == '\'';
}
bool beginsWithQuote(std::string_view s) {
    return !s.empty() && isQuote(s.front());
}
bool endsWithQuote(std::string_view s) {
    return !s.empty() && isQuote(s.back());
}
bool hasEquals(std::string_view s) {
    return findSingleByte(s, '=') != std::string_view::npos;
}
bool endsWithEquals(std::string_view s) {
    return !s.empty() && s.back() == '=';
}

const std::string& unexpectedEndTagText() {
    static const std::string text = utf8ToSjis("いきなり終了タグがあらわれた。");
    return text;
}
const std::string& mismatchedTagText() {
    static const std::string text = utf8ToSjis(" タグの開始と終了が一致しない。");
    return text;
}
// The end-tag errors name the builder with its historical spelling.
constexpr char kEndTagErrorSuffix[] = " in TTAGNode._fromXMLWorldList_aOUT_";

// The tokens of a tag at blanks and tabs outside quoted sections, trimmed,
// blank ones dropped. They are views into the tag, so only the attribute
// lines made of them are ever copied.
std::vector<std::string_view> tagTokens(std::string_view rest) {
    std::vector<std::string_view> tokens = splitQuotedViews(rest, " \t");
    for (auto& token : tokens) token = trimmedView(token);
    std::erase_if(tokens, [](std::string_view token) { return token.empty(); });
    return tokens;
}

void takeName(TagParts& tag, std::string_view token) {
    if (token.front() == '/') {
        tag.closing = true;
        token.remove_prefix(1);
    }
    tag.name = token;
}

// Pairs trimmed tokens as pairAttributes does.
std::vector<std::string> pairTrimmedAttributes(std::span<const std::string_view> tokens) {
    std::vector<std::string> lines;
    std::string pending;
    std::size_t i = 0;
    while (i < tokens.size()) {
        if (pending.empty()) pending = tokens[i];
        if (i + 1 == tokens.size()) {
            lines.push_back(std::move(pending));
            break;
        }
        if (beginsWithQuote(pending)) {
            lines.push_back(std::move(pending));
            pending.clear();
            ++i;
            continue;
        }
        std::string_view next = tokens[i + 1];
        bool equals = hasEquals(pending);
        if (equals && (endsWithQuote(pending) || !endsWithEquals(pending))) {
            i += 1;
        } else if (equals && beginsWithQuote(next)) {
            // `a=` followed by its quoted value
            pending += next;
            i += 2;
        } else if (equals) {
            pending += "\"\"";
            i += 1;
        } else if (!next.empty() && next.front() == '=') {
            // `a` followed by `=...`: joined, then looked at again with the token after
            pending += next;
            i += 1;
            continue;
        } else {
            pending += "=\"\"";
            i += 1;
        }
        lines.push_back(std::move(pending));
        pending.clear();
    }
    return lines;
}

// "&" lies below 0x40, so it is never the second byte of a character.
bool hasEntity(std::string_view text) {
    return text.find('&') != std::string_view::npos;
}
void unescapeInPlace(std::string& text) {
    if (hasEntity(text)) text = unescapeMarkup(text);
}
void addTextOf(TTAGNode& element, std::string_view word) {
    if (hasEntity(word))
        element.addText(unescapeMarkup(word));
    else
        element.addText(word);
}

}  // namespace

std::vector<std::string> pairAttributes(std::vector<std::string> tokens) {
    std::vector<std::string_view> trimmed(tokens.begin(), tokens.end());
    for (auto& token : trimmed) token = trimmedView(token);
    return pairTrimmedAttributes(trimmed);
}

TagParts parseTag(std::string_view word) {
    TagParts tag;
    std::string_view rest = trimmedView(word);
    if (rest.starts_with('<')) rest.remove_prefix(1);
    if (rest.ends_with('>')) rest.remove_suffix(1);
    if (rest.ends_with('/')) {
        tag.selfClosing = true;
        rest.remove_suffix(1);
    }
    if (rest.find_first_of(" \t") == std::string_view::npos) {
        // One token, as in most tags (<BR/>, </Record>): no split needed.
        std::string_view name = trimmedView(rest);
        if (!name.empty()) takeName(tag, name);
        return tag;
    }
    std::vector<std::string_view> tokens = tagTokens(rest);
    if (tokens.empty()) return tag;
    takeName(tag, tokens.front());
    if (tokens.size() > 1) {
        tag.attributes = pairTrimmedAttributes(std::span(tokens).subspan(1));
        for (auto& line : tag.attributes) unescapeInPlace(line);
    }
    return tag;
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
    for (const auto& line : attributes) {
        std::size_t eq = findSingleByte(line, '=');
        if (eq == std::string::npos) continue;
        if (sameText(trimText(std::string_view(line).substr(0, eq)), key))
            return line.substr(eq + 1);
    }
    return {};
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
        report("ERROR: self = nil word = " + std::string(word) + " in TTAGNode.addNew___ ");
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

int TTAGNode::FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors) {
    return FromXMLWordList_aOUT_(words, errors, ItemSink());
}

int TTAGNode::FromXMLWordList_aOUT_(const WordList& words, std::vector<std::string>& errors,
                                    const ItemSink& sink) {
    TTAGNode* current = this;
    std::string lastTagName;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (word.empty() || word.front() != '<') {
            if (!current) {
                errors.push_back(std::to_string(i) + ":" + std::string(word));
                errors.push_back(lastTagName + " aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_");
                return -1;
            }
            addTextOf(*current, word);
            current->offerLastItem(sink);
            continue;
        }
        TagParts tag = parseTag(word);
        if (tag.name.empty() && !tag.closing) return -1;
        lastTagName = tag.name;
        bool declaration =
            !tag.name.empty() && (tag.name.front() == '?' || tag.name.front() == '!');
        if (tag.selfClosing || declaration) {
            if (addNew___(current, std::move(tag.name), std::move(tag.attributes), word))
                current->offerLastItem(sink);
        } else if (tag.closing) {
            if (!current) {
                errors.push_back(std::to_string(i) + ":" + std::string(word));
                errors.push_back(unexpectedEndTagText() + tag.name + " " + kEndTagErrorSuffix);
                return -1;
            }
            current->endName = tag.name;
            if (tag.name != current->name) {
                errors.push_back(std::to_string(i) + ":" + std::string(word));
                errors.push_back(mismatchedTagText() + current->name + " " + tag.name +
                                 kEndTagErrorSuffix);
                return -1;
            }
            current = current->parent;
            if (current) current->offerLastItem(sink);
        } else {
            if (!current) {
                errors.push_back(
                    "ERROR Current TAG is nil. Probabry TAG's ireko not matichline number = " +
                    std::to_string(i) + " word=" + std::string(word) +
                    " in  _FromXMLWordList_aOUT_ ");
                return -1;
            }
            current = addNew___(current, std::move(tag.name), std::move(tag.attributes), word);
        }
    }
    return 0;
}

}  // namespace zel
