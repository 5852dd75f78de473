#pragma once
// The shape of the element tree, read word by word without building it: which
// element each tag opens or closes and at what depth, which element each text
// run belongs to, and the errors of the tag reader, word for word as
// TTAGNode::FromXMLWordList_aOUT_ reports them (it is built on this). A reader
// that wants records rather than a tree follows the shape through a handler,
// and MarkupStream reads the shape straight from bytes, in one pass.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MarkupWords.h"

namespace zel {

// One tag word taken apart: its name and flags at once, its attribute lines
// (paired, unescaped, as parseTag gives them) only when asked for. The views
// point into the word; reuse one object for many words to reuse its room.
class MarkupTag {
  public:
    void read(std::string_view word);

    std::string_view word() const { return word_; }
    std::string_view name() const { return name_; }
    bool selfClosing() const { return selfClosing_; }
    bool closing() const { return closing_; }
    // "?xml", "!--", "!DOCTYPE": an element that never holds anything.
    bool declaration() const { return !name_.empty() && (name_[0] == '?' || name_[0] == '!'); }
    const std::vector<std::string>& attributes() const;

  private:
    std::string_view word_;
    std::string_view rest_;  // between "<" and ">" (and a final "/")
    std::string_view name_;
    bool selfClosing_ = false;
    bool closing_ = false;
    bool blanks_ = false;  // the rest holds a blank or a tab: tokens to split
    mutable bool parsed_ = false;
    mutable std::vector<std::string_view> tokens_;
    mutable std::vector<std::string> attributes_;
};

// The first value of attribute `key` (compared without regard to case) among
// `key=value` lines, raw with its quotes; empty when absent.
std::string_view attributeValue(const std::vector<std::string>& lines, std::string_view key);

// The error lines of the tree, as the tag reader has always written them.
std::string textWithoutElementError(std::string_view lastTagName);
std::string unexpectedEndTagError(std::string_view name);
std::string mismatchedEndTagError(std::string_view open, std::string_view close);
std::string openTagWithoutElementError(std::size_t word, std::string_view text);
// A declaration or a self-closing tag with no element to hold it is reported,
// not counted as an error: the parse goes on.
void reportElementWithoutParent(std::string_view word);

// Follows the tree word by word and tells `handler` what each word does:
//   handler.start(depth, tag)  an element begins (depth 1: a child of the
//                              root); a self-closing tag or a declaration
//                              ends at once, with end(depth) right after;
//   handler.closeTag(depth, name)
//                              a closing tag naming `name` meets the open
//                              element at `depth` (0: the root), before the
//                              names are compared;
//   handler.end(depth)         the element at `depth` ends (one left open at
//                              the end of the words never does);
//   handler.text(depth, raw)   a text run of the element at `depth` (0: the
//                              root), as written, entities not yet replaced;
//   handler.stopped()          checked after each word: true ends the reading.
template <class Handler>
class MarkupBuilder {
  public:
    MarkupBuilder(Handler& handler, std::vector<std::string>& errors)
        : handler_(handler), errors_(errors) {
        open_.emplace_back();  // the root, whose name is empty
    }

    // False once the reading has ended: on an error (result() is -1) or
    // because the handler stopped.
    bool word(std::string_view word) {
        if (ended_) return false;
        const std::size_t index = count_++;
        if (word.empty() || word.front() != '<') {
            if (depth_ < 0)
                return fail({std::to_string(index) + ":" + std::string(word),
                             textWithoutElementError(lastTagName_)});
            handler_.text(static_cast<std::size_t>(depth_), word);
            return goOn();
        }
        tag_.read(word);
        if (tag_.name().empty() && !tag_.closing()) return fail({});
        lastTagName_.assign(tag_.name());
        if (tag_.selfClosing() || tag_.declaration()) {
            if (depth_ < 0) {
                reportElementWithoutParent(word);
                return true;
            }
            const auto depth = static_cast<std::size_t>(depth_ + 1);
            handler_.start(depth, tag_);
            handler_.end(depth);
        } else if (tag_.closing()) {
            if (depth_ < 0)
                return fail({std::to_string(index) + ":" + std::string(word),
                             unexpectedEndTagError(tag_.name())});
            const std::string& open = open_[static_cast<std::size_t>(depth_)];
            handler_.closeTag(static_cast<std::size_t>(depth_), tag_.name());
            if (tag_.name() != open)
                return fail({std::to_string(index) + ":" + std::string(word),
                             mismatchedEndTagError(open, tag_.name())});
            if (depth_ > 0) handler_.end(static_cast<std::size_t>(depth_));
            --depth_;
        } else {
            if (depth_ < 0) return fail({openTagWithoutElementError(index, word)});
            ++depth_;
            if (open_.size() <= static_cast<std::size_t>(depth_)) open_.emplace_back();
            open_[static_cast<std::size_t>(depth_)].assign(tag_.name());
            handler_.start(static_cast<std::size_t>(depth_), tag_);
        }
        return goOn();
    }

    int result() const { return failed_ ? -1 : 0; }
    // The elements still open, the root counted: 0 once the root itself closed.
    std::size_t openElements() const { return static_cast<std::size_t>(depth_ + 1); }

  private:
    bool fail(std::vector<std::string> lines) {
        for (auto& line : lines) errors_.push_back(std::move(line));
        failed_ = ended_ = true;
        return false;
    }
    bool goOn() {
        if (handler_.stopped()) ended_ = true;
        return !ended_;
    }

    Handler& handler_;
    std::vector<std::string>& errors_;
    MarkupTag tag_;
    // The names of the open elements from the root down; depth_ is the
    // deepest one's place, -1 once the root closed.
    std::vector<std::string> open_;
    long long depth_ = 0;
    std::size_t count_ = 0;
    std::string lastTagName_;
    bool failed_ = false;
    bool ended_ = false;
};

// Bytes to the tree's shape in one pass: the word splitter (without kept line
// breaks, as every reader of this program splits) feeding a MarkupBuilder.
template <class Handler>
class MarkupStream {
  public:
    MarkupStream(Handler& handler, std::vector<std::string>& errors)
        : builder_(handler, errors), scanner_(Take{&builder_}, false) {}

    // False once the reading has ended (an error, or the handler stopped).
    bool feed(std::string_view piece) { return scanner_.feed(piece); }
    // After the last piece: 0, or -1 after an error.
    int finish() {
        scanner_.finish();
        return builder_.result();
    }

  private:
    struct Take {
        MarkupBuilder<Handler>* builder;
        bool operator()(std::string_view word) const { return builder->word(word); }
    };
    MarkupBuilder<Handler> builder_;
    WordScanner<Take> scanner_;
};

}  // namespace zel
