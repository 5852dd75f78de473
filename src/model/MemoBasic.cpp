#include "model/MemoBasic.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "formats/TContent.h"
#include "formats/TTAGNode.h"
#include "model/RecordText.h"
#include "platform/Environment.h"
#include "text/DateTime.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "text/Values.h"

namespace zel {

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// True when the lines together are blank once trimmed (the writers skip such
// a comment or field list). Works on line vectors and field lists alike.
template <class LineSource>
bool allBlank(const LineSource& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!trimmedView(lines[i]).empty()) return false;
    }
    return true;
}

// Blanks cannot be second bytes of double-byte characters (those start at
// 0x40), so a byte-wise replacement is safe here. Keys come from CSV headers
// and foreign files too: a byte that would end the tag or open a quote that
// never closes, and with it swallow the records after it, becomes "_" as well.
void appendKeyWithUnderscores(std::string& out, std::string_view key) {
    std::size_t start = out.size();
    out.append(key);
    const bool quotesPair = std::count(key.begin(), key.end(), '"') % 2 == 0;
    for (std::size_t i = start; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if (c <= ' ' || c == '<' || c == '>' || (c == '"' && !quotesPair)) out[i] = '_';
    }
}

std::mt19937& uidRandom() {
    static std::mt19937 engine(static_cast<std::mt19937::result_type>(
        std::chrono::system_clock::now().time_since_epoch().count()));
    return engine;
}

}  // namespace

MemoBasic::MemoBasic(TObjectNamed* owner_) : TObjectNamed(owner_) {
    MemoBasic::clear_();
}

MemoBasic::~MemoBasic() = default;

int MemoBasic::clear_() {
    fields.clear();
    memo.clear();
    content.reset();
    return 0;
}

void MemoBasic::copyFrom_(const TObjectNamed& source) {
    const auto* record = dynamic_cast<const MemoBasic*>(&source);
    if (!record || record == this) return;
    fields = record->fields;
    comment = record->comment;
    memo = record->memo;
    if (record->content) {
        auto copy = std::make_unique<TContent>();
        copy->copyFrom_(*record->content);
        content = std::move(copy);
    } else {
        content.reset();
    }
}

MemoBasic* MemoBasic::enclosingRecord_() const {
    for (TObjectNamed* up = owner; up; up = up->owner) {
        if (auto* record = dynamic_cast<MemoBasic*>(up)) return record;
    }
    return nullptr;
}

bool MemoBasic::isReadOnlyEffective_() const {
    for (const MemoBasic* record = this; record; record = record->enclosingRecord_()) {
        if (record->isReadOnly_()) return true;
    }
    return false;
}

std::string MemoBasic::getTempDir_() const {
    if (const MemoBasic* enclosing = enclosingRecord_()) return enclosing->getTempDir_();
    return tempDirectory();
}

std::uint32_t MemoBasic::getColor_() const {
    int index = fields.indexOf("Color");
    if (index < 0) return kWhite;
    return nameToColor(stripQuotes(fields.valueAt(static_cast<std::size_t>(index))));
}

// ---- fields ----

std::string MemoBasic::getField_(std::string_view key) const {
    return std::string(fields.value(key));
}

int MemoBasic::putField_(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + 1 + value.size());
    line.append(key).append("=").append(value);
    int index = fields.indexOf(key);
    if (index < 0) return static_cast<int>(fields.append(std::move(line)));
    if (value.empty())
        fields.erase(static_cast<std::size_t>(index));
    else
        fields.setLine(static_cast<std::size_t>(index), std::move(line));
    return index;
}

std::string MemoBasic::removeField_(std::string_view key) {
    int index = fields.indexOf(key);
    if (index < 0) return {};
    std::string line = fields[static_cast<std::size_t>(index)];
    fields.erase(static_cast<std::size_t>(index));
    return line;
}

bool MemoBasic::isReadOnly_() const {
    return fields.value("FlagReadOnly") == "\"true\"";
}

void MemoBasic::setReadOnly_(bool flag) {
    putField_("FlagReadOnly", flag ? "\"true\"" : "\"false\"");
}

std::string MemoBasic::newUID_() {
    std::uniform_int_distribution<int> pick(1, 99999998);
    std::string uid = formatDateTime("YYYYMMDD_hhnnsszzz", currentDateTime()) + "_" +
                      formatNumber("%.8d", pick(uidRandom()));
    std::string quoted = wrapQuotes(uid);
    putField_("UID", quoted);
    return quoted;
}

// ---- markup ----

std::string MemoBasic::recordStartLine(std::string_view indent) const {
    std::string line(indent);
    line += "<Record name=\"";
    appendEscapedMarkup(line, trimmedView(getName_()));
    line += "\">";
    return line;
}

int MemoBasic::_writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent) {
    lines.emplace_back("<!-- ERROR: MemoBasic._writeTSL_deep_ -->");
    lines.push_back(recordStartLine(indent));
    writeComment_(lines, indent);
    writeFields_(fields, lines, indent);
    writeMemo_(lines, indent);
    lines.push_back(std::string(indent) + "</Record>");
    return 0;
}

int MemoBasic::writeComment_(std::vector<std::string>& lines, std::string_view indent) const {
    if (comment.empty() || allBlank(comment)) return -1;
    lines.push_back(std::string(indent) + "  <Comment>");
    appendBrokenMarkupLines(comment, lines);
    lines.push_back(std::string(indent) + "  </Comment>");
    return static_cast<int>(comment.size());
}

int MemoBasic::writeFields_(const FieldList& fieldLines, std::vector<std::string>& lines,
                            std::string_view indent) {
    if (fieldLines.empty() || allBlank(fieldLines)) return 0;
    std::size_t length = indent.size() + 10;
    for (std::size_t i = 0; i < fieldLines.size(); ++i) length += fieldLines[i].size() + 4;
    std::string line;
    line.reserve(length);
    line.append(indent).append("  <Field ");
    int written = 0;
    for (std::size_t i = 0; i < fieldLines.size(); ++i) {
        if (!fieldLines.hasKeyAt(i)) continue;
        appendKeyWithUnderscores(line, trimmedView(fieldLines.keyAt(i)));
        line += "=\"";
        appendEscapedMarkup(line, unquotedView(trimmedView(fieldLines.valueAt(i))));
        line += "\" ";
        ++written;
    }
    line += "/>";
    lines.push_back(std::move(line));
    return written;
}

void MemoBasic::writeMemo_(std::vector<std::string>& lines, std::string_view) const {
    appendBrokenMarkupLines(memo, lines);
}

void MemoBasic::readTag_(const TTAGNode&) {}

void MemoBasic::fieldsFromTag_(const TTAGNode& element) {
    fieldsFromAttributes_(element.attributes);
}

void MemoBasic::fieldsFromAttributes_(const std::vector<std::string>& attributes) {
    const bool appendRaw = fields.empty();
    if (appendRaw) fields.reserve(attributes.size());
    for (const std::string& attribute : attributes) {
        if (appendRaw) {
            fields.append(attribute);
            continue;
        }
        std::size_t equals = findSingleByte(attribute, '=');
        if (equals == std::string::npos)
            putField_(attribute, {});
        else
            putField_(std::string_view(attribute).substr(0, equals),
                      std::string_view(attribute).substr(equals + 1));
    }
}

void MemoBasic::commentFromTag_(const TTAGNode& element) {
    comment.clear();
    appendBrokenLines(element, comment);
}

void MemoBasic::appendBrokenLines(const TTAGNode& element, std::vector<std::string>& lines) {
    std::string pending;
    for (std::size_t i = 0; i < element.count(); ++i) {
        const TTAGNode* child = element.itemObject(i);
        if (!child) {
            pending += element.itemText(i);
        } else if (trimmedView(child->name) == "BR") {
            lines.push_back(std::move(pending));
            pending.clear();
        }
    }
}

}  // namespace zel
