#include "search/NodeFinder.h"

#include <algorithm>

#include "model/HolderFile.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Ranks, best first.
constexpr int kWholeName = 500;
constexpr int kNameStart = 400;
constexpr int kWordStart = 300;
constexpr int kInside = 200;
constexpr int kInitialsStart = 150;
constexpr int kInitials = 100;

// The half-width form of a full-width character of code page 932, or 0.
char halfWidthOf(unsigned char lead, unsigned char trail) {
    if (lead == 0x81 && trail == 0x40) return ' ';
    if (lead != 0x82) return 0;
    if (trail >= 0x4F && trail <= 0x58) return static_cast<char>('0' + (trail - 0x4F));
    if (trail >= 0x60 && trail <= 0x79) return static_cast<char>('a' + (trail - 0x60));
    if (trail >= 0x81 && trail <= 0x9A) return static_cast<char>('a' + (trail - 0x81));
    return 0;
}

bool isWordSeparator(char c) {
    return c == ' ' || c == '\t' || c == '_' || c == '-' || c == '.' || c == '/' || c == '(' ||
           c == ')' || c == '[' || c == ']' || c == ',' || c == ':';
}

bool isAsciiLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool isAsciiUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// The first character of every word of `name`: after a separator, at a
// capital that follows a small letter, and at a change between single-byte
// and double-byte text.
std::string initialsOf(std::string_view name) {
    std::string initials;
    bool atStart = true;
    char previous = ' ';
    bool previousWide = false;
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = charLength(name, at);
        const char c = name[at];
        const bool wide = length > 1;
        if (!wide && isWordSeparator(c)) {
            atStart = true;
        } else {
            if (atStart || (isAsciiUpper(c) && isAsciiLower(previous)) || wide != previousWide)
                initials += name.substr(at, length);
            atStart = false;
        }
        previous = c;
        previousWide = wide;
        at += length;
    }
    return foldForFinding(initials);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool endsTagName(char c) {
    return isBlank(c) || c == '>' || c == '/';
}

// The length from `from` to `end` (npos: to the end).
std::size_t until(std::size_t end, std::size_t from) {
    return end == std::string_view::npos ? std::string_view::npos : end - from;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && text[at] == ' ') ++at;
    return at;
}

// The value of the name attribute among a tag's attributes, without its
// quotes (a quote inside a value is an entity); empty when there is none.
std::string nameAttribute(std::string_view attributes) {
    static constexpr std::string_view kName = "name";
    for (std::size_t key = findText(attributes, kName); key != std::string_view::npos;
         key = findText(attributes, kName, key + kName.size())) {
        if (key > 0 && !isBlank(attributes[key - 1])) continue;
        const std::size_t equals = skipBlanks(attributes, key + kName.size());
        if (equals >= attributes.size() || attributes[equals] != '=') continue;
        const std::size_t value = skipBlanks(attributes, equals + 1);
        if (value < attributes.size() && attributes[value] == '"') {
            const std::size_t end = findSingleByte(attributes, '"', value + 1);
            return std::string(attributes.substr(value + 1, until(end, value + 1)));
        }
        const std::size_t end = findAnySingleByte(attributes, " \t\r\n/", value);
        return std::string(attributes.substr(value, until(end, value)));
    }
    return {};
}

bool startsWord(std::string_view folded, std::size_t at) {
    return at == 0 || isWordSeparator(folded[at - 1]);
}

// Whether `typed`, first found in `name` at `first`, begins a word there or later.
bool startsWordAnywhere(std::string_view name, std::string_view typed, std::size_t first) {
    for (std::size_t at = first; at != std::string_view::npos;
         at = findOnBoundary(name, typed, at + 1))
        if (startsWord(name, at)) return true;
    return false;
}

}  // namespace

std::string foldForFinding(std::string_view name) {
    const std::string lowered = lowerText(name);
    std::string folded;
    folded.reserve(lowered.size());
    for (std::size_t at = 0; at < lowered.size();) {
        const std::size_t length = charLength(lowered, at);
        const char half = length == 2 ? halfWidthOf(static_cast<unsigned char>(lowered[at]),
                                                    static_cast<unsigned char>(lowered[at + 1]))
                                      : 0;
        if (half)
            folded += half;
        else
            folded.append(lowered, at, length);
        at += length;
    }
    return folded;
}

void NodeNameIndex::clear() {
    entries_.clear();
}

void NodeNameIndex::addHolder(std::size_t holder, const std::vector<std::string>& names) {
    std::unordered_map<std::string_view, std::size_t> seen;
    entries_.reserve(entries_.size() + names.size());
    for (const std::string& name : names) {
        const std::size_t before = seen[name]++;
        entries_.push_back({{holder, before, name}, foldForFinding(name), initialsOf(name)});
    }
}

int NodeNameIndex::rankOf(const Indexed& indexed, std::string_view folded) const {
    const std::string_view name = indexed.folded;
    if (name.size() >= folded.size()) {
        const std::size_t at = findOnBoundary(name, folded);
        if (at != std::string_view::npos) {
            if (at == 0) return name.size() == folded.size() ? kWholeName : kNameStart;
            return startsWordAnywhere(name, folded, at) ? kWordStart : kInside;
        }
    }
    // One typed letter would find every name with a word that begins with it.
    if (folded.size() < 2 || indexed.initials.size() < folded.size()) return 0;
    const std::size_t at = findOnBoundary(indexed.initials, folded);
    if (at == std::string_view::npos) return 0;
    return at == 0 ? kInitialsStart : kInitials;
}

std::vector<FinderMatch> NodeNameIndex::find(std::string_view typed, std::size_t limit) const {
    const std::string folded = foldForFinding(trimText(typed));
    std::vector<FinderMatch> matches;
    if (folded.empty() || limit == 0) return matches;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (const int rank = rankOf(entries_[i], folded)) matches.push_back({i, rank});
    const auto better = [this](const FinderMatch& a, const FinderMatch& b) {
        if (a.rank != b.rank) return a.rank > b.rank;
        const std::size_t lengthA = entries_[a.entry].folded.size();
        const std::size_t lengthB = entries_[b.entry].folded.size();
        if (lengthA != lengthB) return lengthA < lengthB;
        return a.entry < b.entry;
    };
    const std::size_t kept = std::min(limit, matches.size());
    std::partial_sort(matches.begin(), matches.begin() + static_cast<std::ptrdiff_t>(kept),
                      matches.end(), better);
    matches.resize(kept);
    return matches;
}

std::vector<std::string> holderMarkupNodeNames(std::string_view markup) {
    static constexpr std::string_view kRecord = "<Record";
    std::vector<std::string> names;
    for (std::size_t at = markup.find(kRecord); at != std::string_view::npos;
         at = markup.find(kRecord, at + kRecord.size())) {
        const std::size_t after = at + kRecord.size();
        // "<RecordSet" is another element.
        if (after >= markup.size() || !endsTagName(markup[after])) continue;
        const std::size_t close = findSingleByte(markup, '>', after);
        names.push_back(nameAttribute(markup.substr(after, until(close, after))));
    }
    return names;
}

const std::vector<std::string>* HolderNameCache::names(const std::string& path) {
    const std::optional<std::uint64_t> size = fileSize(path);
    const auto modified = fileModified(path);
    if (!size || !modified) return nullptr;
    auto found = cached_.find(path);
    if (found != cached_.end() && found->second.size == *size &&
        found->second.modified == *modified)
        return &found->second.names;
    std::string markup;
    if (!holderFilePlainText_(path, markup)) return nullptr;
    ++reads_;
    Cached& entry = cached_[path];
    entry = {*size, *modified, holderMarkupNodeNames(markup)};
    return &entry.names;
}

}  // namespace zel
