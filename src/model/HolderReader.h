#pragma once
// Reading a holder's record markup into the holder: its records become nodes,
// its fields settings. The reader follows the shape of the element tree as
// MarkupBuilder tells it (the holder file's bytes in one pass, MarkupStream)
// or as a tree already built replays it, so both ways read alike.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MarkupTree.h"
#include "model/FieldList.h"
#include "text/LineBlock.h"

namespace zel {

class AgentAPLAbs;
class MemoHolder;
class MemoNode;
class TTAGNode;

// The items of one `Record` element read into a node: `Field` children give
// fields, a `Comment` child the comment (text items, each `BR` ending a line),
// text items the memo text, each `BR` child ending a memo line (text after the
// last is dropped); other children are passed over with all they hold. A
// Base64 body becomes the node's content. Depths count from the record (1: its
// children).
class RecordReader {
  public:
    void begin(MemoNode& node);
    void start(std::size_t depth, const MarkupTag& tag);
    void end(std::size_t depth);
    // A text item at `depth` with its entities replaced.
    void decodedText(std::size_t depth, std::string_view text);
    // Reads the items of `element`, a `Record` element of a tree already built.
    void readElement(const TTAGNode& element);
    // The memo lines go to the node, a Base64 body is decoded.
    void finish();

  private:
    MemoNode* node_ = nullptr;
    // The memo lines as they are read, each followed by "\n" (the line being
    // read last, without it), and where each ends: the node's memo is made
    // from them at once, in the size it needs.
    std::string memoText_;
    std::vector<std::uint32_t> memoEnds_;
    bool inComment_ = false;
    std::string commentLine_;
};

// Reads the items of a holder's `Holder` element: a `Record` child becomes a
// node entered under its name attribute (quotes stripped; without one, the
// time and the raw attribute), made unique unless the holder allows equal
// names; `Field` children give the holder's fields; a `BR` right after an
// element adds an empty line to the holder's memo; a text item becomes a memo
// line of the node read last. Only the first top-level `Holder` element is
// read.
class HolderReader {
  public:
    // With an agent, Break is asked every 50 records; once it says stop,
    // stopped() is true and reading should end.
    explicit HolderReader(MemoHolder& holder, AgentAPLAbs* agent = nullptr);

    // What MarkupBuilder tells (depth 1: a child of the document's root).
    void start(std::size_t depth, const MarkupTag& tag);
    void closeTag(std::size_t, std::string_view) {}
    void end(std::size_t depth);
    void text(std::size_t depth, std::string_view raw);
    void decodedText(std::size_t depth, std::string_view text);
    bool stopped() const { return stopped_; }

    // Reads the items of `element`, a `Holder` element of a tree already built.
    void readElement(const TTAGNode& element);

    // Whether the markup had a `Holder` element.
    bool sawHolder() const { return holderSeen_; }
    // Sorts as the holder says and takes the settings from the fields read.
    void finish();
    // Puts the holder back as it was before reading began.
    void abandon();

  private:
    // The depth of the `Holder` element (items one deeper), 0 outside it.
    std::size_t holderDepth() const { return inHolder_ ? 1 : 0; }
    void startItem(const MarkupTag& tag);
    void startRecord(const MarkupTag& tag);
    void endRecord();

    MemoHolder& holder_;
    AgentAPLAbs* agent_;
    const bool sortAtEnd_;
    const FieldList fieldsBefore_;
    const LineBlock memoBefore_;
    const int countBefore_;
    RecordReader record_;
    MemoNode* lastRead_ = nullptr;
    std::string decoded_;
    bool holderSeen_ = false;
    bool inHolder_ = false;
    bool inRecord_ = false;
    bool afterElement_ = false;
    bool stopped_ = false;
};

}  // namespace zel
