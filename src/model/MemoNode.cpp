#include "model/MemoNode.h"

#include <filesystem>

#include "formats/Base64.h"
#include "formats/TContent.h"
#include "formats/TTAGNode.h"
#include "model/HolderFile.h"
#include "model/HolderReader.h"
#include "model/MemoHolder.h"
#include "model/RecordText.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kEncoding = "Content-Transfer-Encoding";
constexpr std::string_view kBullet = "\x81\x9C";  // ●

template <class LineList>
std::string firstBulletLine(const LineList& lines) {
    for (std::string_view line : lines) {
        std::string_view trimmed = trimmedView(line);
        if (trimmed.starts_with(kBullet)) return std::string(trimmed);
    }
    return {};
}

}  // namespace

MemoNode::MemoNode(TObjectNamed* owner_) : MemoBasic(owner_), ticket_(NodeRegistry::enter(this)) {
    MemoNode::clear_();
}

MemoNode::~MemoNode() {
    NodeRegistry::leave(ticket_);
}

int MemoNode::clear_() {
    MemoBasic::clear_();
    loaded = false;
    return 0;
}

void MemoNode::copyFrom_(const TObjectNamed& source) {
    MemoBasic::copyFrom_(source);
    if (const auto* node = dynamic_cast<const MemoNode*>(&source)) loaded = node->loaded;
}

std::unique_ptr<MemoNode> MemoNode::clone_() const {
    auto copy = std::make_unique<MemoNode>(owner);
    copy->copyFrom_(*this);
    return copy;
}

// ---- fields with a meaning for nodes ----

bool MemoNode::isMarked_() const {
    return fields.value("flagMarked") == "\"true\"";
}

void MemoNode::setMarked_(bool flag) {
    putField_("flagMarked", flag ? "\"true\"" : "\"false\"");
}

std::string MemoNode::getContentType_() const {
    std::string_view type = fields.value("Content-Type");
    return type.empty() ? std::string("\"text\"") : std::string(type);
}

void MemoNode::setContentType_(std::string_view type) {
    putField_("Content-Type", wrapQuotes(trimText(type)));
}

std::string MemoNode::getEncoding_() const {
    std::string_view encoding = fields.value(kEncoding);
    return encoding.empty() ? std::string("\"8bit\"") : std::string(encoding);
}

bool MemoNode::isBinary_() const {
    return fields.value(kEncoding) == "\"binary\"";
}
bool MemoNode::isURL_() const {
    return fields.value(kEncoding) == "\"URL\"";
}
bool MemoNode::isLinked_() const {
    return fields.value("FlagLink") == "\"true\"";
}

std::string MemoNode::getFieldInherited_(std::string_view key) const {
    for (const MemoBasic* record = this; record; record = record->enclosingRecord_()) {
        std::string_view value = record->fields.value(key);
        if (!value.empty()) return std::string(value);
    }
    return {};
}

void MemoNode::setParentNode_(MemoBasic& parentNode) {
    std::string uid = stripQuotes(parentNode.getField_("UID"));
    if (uid.empty()) uid = stripQuotes(parentNode.newUID_());
    putField_("ParentNodeID", wrapQuotes(uid));
}

std::string MemoNode::makeRelative_(std::string_view key, std::string_view baseDirectory) {
    const std::string value = trimText(stripQuotes(fields.value(key)));
    // Only absolute local paths are rewritten; on this desktop every absolute
    // path is on the same "drive".
    if (value.empty() || value.starts_with('.') || value.starts_with("http") ||
        !value.starts_with('/'))
        return {};
    std::string relative =
        std::filesystem::path(value).lexically_relative(withSlashes(baseDirectory)).string();
    if (relative.empty()) return {};
    if (!relative.starts_with('.')) relative.insert(0, "./");
    std::string quoted = wrapQuotes(relative);
    putField_(key, quoted);
    return quoted;
}

std::string MemoNode::getBulletLine_() const {
    if (!isBinary_()) {
        std::string line = firstBulletLine(memo);
        if (!line.empty()) return line;
    }
    return firstBulletLine(comment);
}

int MemoNode::loadLinkedBody_() {
    const std::string file = stripQuotes(fields.value("Filename"));
    if (file.empty()) return 0;
    std::string path = file;
    std::string displayName;
    if (file.starts_with('.')) {
        const auto* holder = dynamic_cast<const MemoHolder*>(enclosingRecord_());
        std::string base = holder ? std::string(folderOf(holderFilePath_(*holder))) : std::string();
        path = base + withSlashes(file);
        displayName = file;
    }
    int status = setFile_(path, displayName);
    loaded = true;
    return status + 1;
}

// ---- record markup ----

void MemoNode::writeNodeRecord_(std::vector<std::string>& lines, std::string_view indent) {
    lines.push_back(recordStartLine(indent));
    const bool binary = isBinary_();
    const bool linked = isLinked_();
    if (binary && !linked) {
        // The body travels as Base64 lines in the memo text, which is scratch
        // space for binary nodes.
        FieldList written = fields;
        written.setLine(static_cast<std::size_t>(written.indexOf(kEncoding)),
                        std::string(kEncoding) + "=\"base64\"");
        memo.clear();
        std::vector<std::string> base64;
        if (content) encodeBase64(content->stream, base64);
        memo = base64;
        writeFields_(written, lines, indent);
    } else {
        if (isURL_()) memo.clear();  // a web-address node keeps no memo text
        writeFields_(fields, lines, indent);
    }
    if (!linked) writeMemo_(lines, indent);
    writeComment_(lines, indent);
    if (binary) memo.clear();
    lines.push_back(std::string(indent) + "</Record>");
}

void MemoNode::readTag_(const TTAGNode& element) {
    if (trimmedView(element.name) != "Record") return;
    RecordReader reader;
    reader.begin(*this);
    reader.readElement(element);
    reader.finish();
}

void MemoNode::decodeBase64Body_() {
    if (!sameText(fields.value(kEncoding), "\"base64\"")) return;
    if (!content) content = std::make_unique<TContent>();
    if (!content->stream) content->stream.emplace();
    decodeBase64(content->stream, memo);
    putField_(kEncoding, "\"binary\"");
    memo.clear();
}

}  // namespace zel
