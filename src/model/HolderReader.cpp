#include "model/HolderReader.h"

#include <limits>
#include <stdexcept>

#include "formats/TTAGNode.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "object/Agents.h"
#include "text/DateTime.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kRecordsPerBreakCheck = 50;

bool named(const MarkupTag& tag, std::string_view name) {
    return trimmedView(tag.name()) == name;
}

// Replays the items of `top`, an element at `depth`, as MarkupBuilder tells
// the words that made them: each child by its tag word, text items with their
// entities already replaced. Deep trees are walked without deep recursion.
template <class Reader>
void replayItems(const TTAGNode& top, std::size_t depth, Reader& reader) {
    struct Place {
        const TTAGNode* element;
        std::size_t next;
    };
    std::vector<Place> open{{&top, 0}};
    MarkupTag tag;
    while (!open.empty()) {
        Place& place = open.back();
        const std::size_t at = depth + open.size() - 1;
        if (place.next == place.element->count()) {
            open.pop_back();
            if (!open.empty()) reader.end(at);
            continue;
        }
        const TTAGNode::Item& item = place.element->items()[place.next++];
        if (!item.object) {
            reader.decodedText(at, item.text);
            continue;
        }
        tag.read(item.text);
        reader.start(at + 1, tag);
        open.push_back({item.object, 0});
    }
}

}  // namespace

void RecordReader::begin(MemoNode& node) {
    node_ = &node;
    memoText_.clear();
    memoEnds_.clear();
    inComment_ = false;
}

void RecordReader::start(std::size_t depth, const MarkupTag& tag) {
    if (depth == 2 && inComment_ && named(tag, "BR")) {
        node_->comment.push_back(std::move(commentLine_));
        commentLine_.clear();
        return;
    }
    if (depth != 1) return;
    if (named(tag, "Field")) {
        node_->fieldsFromAttributes_(tag.attributes());
    } else if (named(tag, "Comment")) {
        node_->comment.clear();
        commentLine_.clear();
        inComment_ = true;
    } else if (named(tag, "BR")) {
        // Memo offsets are 32 bits wide; a text that would not fit refuses
        // its file rather than wrap.
        if (memoText_.size() >= std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("a memo text of 4 GiB or more");
        memoEnds_.push_back(static_cast<std::uint32_t>(memoText_.size()));
        memoText_ += '\n';
    }
}

void RecordReader::end(std::size_t depth) {
    if (depth == 1) inComment_ = false;
}

void RecordReader::decodedText(std::size_t depth, std::string_view text) {
    if (depth == 0)
        memoText_ += text;
    else if (depth == 1 && inComment_)
        commentLine_ += text;
}

void RecordReader::finish() {
    // Text after the last break is dropped.
    memoText_.resize(memoEnds_.empty() ? 0 : memoEnds_.back() + 1);
    node_->memo.append(memoText_, memoEnds_);
    node_->decodeBase64Body_();
    node_ = nullptr;
}

void RecordReader::readElement(const TTAGNode& element) {
    replayItems(element, 0, *this);
}

// A sorted list would be sorted once per record; it is sorted once at the
// end instead, which gives the same order.
HolderReader::HolderReader(MemoHolder& holder, AgentAPLAbs* agent)
    : holder_(holder),
      agent_(agent),
      sortAtEnd_(holder.nodes->flagSort),
      fieldsBefore_(holder.fields),
      memoBefore_(holder.memo),
      countBefore_(holder.count_()) {}

void HolderReader::start(std::size_t depth, const MarkupTag& tag) {
    if (depth == 1) {
        if (holderSeen_ || tag.name() != "Holder") return;
        holderSeen_ = true;
        inHolder_ = !tag.selfClosing();
        holder_.nodes->flagSort = false;
        return;
    }
    if (!inHolder_) return;
    if (depth == 2)
        startItem(tag);
    else if (inRecord_)
        record_.start(depth - 2, tag);
}

void HolderReader::end(std::size_t depth) {
    if (!inHolder_) return;
    if (depth == 1)
        inHolder_ = false;
    else if (depth == 2 && inRecord_)
        endRecord();
    else if (inRecord_)
        record_.end(depth - 2);
}

void HolderReader::text(std::size_t depth, std::string_view raw) {
    if (!inHolder_ || depth == 0) return;
    // "&" lies below 0x40, so it is never the second byte of a character.
    if (raw.find('&') == std::string_view::npos) return decodedText(depth, raw);
    decoded_.clear();
    appendUnescapedMarkup(decoded_, raw);
    decodedText(depth, decoded_);
}

void HolderReader::decodedText(std::size_t depth, std::string_view text) {
    if (!inHolder_) return;
    if (depth == 1) {
        if (lastRead_) lastRead_->memo.push_back(text);
        afterElement_ = false;
    } else if (inRecord_) {
        record_.decodedText(depth - 2, text);
    }
}

void HolderReader::startItem(const MarkupTag& tag) {
    if (named(tag, "Record"))
        startRecord(tag);
    else if (named(tag, "Field"))
        holder_.fieldsFromAttributes_(tag.attributes());
    else if (named(tag, "BR") && afterElement_)
        holder_.memo.emplace_back();
    afterElement_ = true;
}

void HolderReader::startRecord(const MarkupTag& tag) {
    const std::string_view rawName = attributeValue(tag.attributes(), "name");
    std::string nodeName = stripQuotes(rawName);
    if (nodeName.empty())
        nodeName =
            formatDateTime("YYYYMMDD hhnnss", currentDateTime()) + " " + std::string(rawName);
    auto node = holder_.newNode_();
    lastRead_ = node.get();
    holder_.addNode_(std::move(node), nodeName);
    record_.begin(*lastRead_);
    inRecord_ = true;
}

void HolderReader::endRecord() {
    record_.finish();
    inRecord_ = false;
    if (agent_ && ++agent_->count % kRecordsPerBreakCheck == 0 && agent_->isBreak_())
        stopped_ = true;
}

void HolderReader::readElement(const TTAGNode& element) {
    holderSeen_ = inHolder_ = true;
    holder_.nodes->flagSort = false;
    replayItems(element, 1, *this);
}

void HolderReader::finish() {
    // A record left open when the text ended is read with what it holds.
    if (inRecord_) endRecord();
    if (holder_.getField_("Filename") != fieldsBefore_.value("Filename"))
        holder_.filenameFromContent = holder_.getField_("Filename");
    holder_.nodes->flagSort = sortAtEnd_;
    holder_.nodes->keepOrder_();
    holder_.takeSettingsFromFields();
}

void HolderReader::abandon() {
    // The nodes read were appended, so they are taken from the end, all at
    // once: a huge file that fails late costs no more than it took to read.
    holder_.nodes->truncateChildren_(static_cast<std::size_t>(countBefore_));
    holder_.fields = fieldsBefore_;
    holder_.memo = memoBefore_;
    holder_.nodes->flagSort = sortAtEnd_;
}

}  // namespace zel
