// Record-level search, replace and grep, as the search windows use them.
//
// A keyword without a line break occurs in a section's joined text exactly
// when it occurs in one of its lines (and the fold of the joined text is the
// lines' folds joined), so only a keyword with a line break needs the joined
// text. The memo text is one block with a break after every line, so such a
// keyword is searched over the whole block at once, a hit naming its line;
// the shorter sections run line by line. Nothing is allocated for lines
// without a hit.

#include <optional>

#include "model/HolderFile.h"
#include "model/MemoBasic.h"
#include "text/LineMatcher.h"
#include "text/Sjis.h"

namespace zel {

namespace {

bool linesContain(const std::vector<std::string>& lines, const LineMatcher& matcher) {
    if (matcher.spansLines()) return matcher.contains(linesText(lines));
    for (const std::string& line : lines)
        if (matcher.contains(line)) return true;
    return false;
}

bool blockContains(const LineBlock& lines, const LineMatcher& matcher) {
    if (matcher.spansLines()) return matcher.contains(linesText(lines));
    return matcher.contains(lines.text());
}

bool fieldsContain(const FieldList& fields, const LineMatcher& matcher) {
    if (matcher.spansLines()) return matcher.contains(fields.text());
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (matcher.contains(fields[i])) return true;
    return false;
}

void appendChange(std::vector<std::string>& log, std::string_view label, std::size_t index) {
    std::string line(label);
    appendPadded(line, index + 1, 6, '0');
    log.push_back(std::move(line));
}

void replaceInLines(std::vector<std::string>& lines, std::string_view label,
                    const LineMatcher& matcher, std::string_view replacement,
                    std::vector<std::string>& log) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (matcher.replaceAll(lines[i], replacement)) appendChange(log, label, i);
}

// Lines before the first hit are passed over, and the block is rebuilt only
// from the first line that changes.
void replaceInBlock(LineBlock& lines, std::string_view label, const LineMatcher& matcher,
                    std::string_view replacement, std::vector<std::string>& log) {
    std::size_t first = 0;
    if (!matcher.spansLines()) {
        const std::size_t hit = matcher.find(lines.text());
        if (hit == std::string_view::npos) return;
        first = lines.lineAt(hit);
    }
    std::optional<LineBlock> replaced;
    std::string line;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view original = lines[i];
        if (matcher.contains(original)) {
            line.assign(original);
            if (matcher.replaceAll(line, replacement)) {
                if (!replaced) {
                    replaced.emplace();
                    replaced->reserve(lines.size(), lines.textBytes() + line.size());
                    for (std::size_t k = 0; k < i; ++k) replaced->push_back(lines[k]);
                }
                replaced->push_back(line);
                appendChange(log, label, i);
                continue;
            }
        }
        if (replaced) replaced->push_back(original);
    }
    if (replaced) {
        replaced->shrink_to_fit();
        lines = std::move(*replaced);
    }
}

template <class LineAt>
bool grepSection(std::size_t count, const LineAt& lineAt, std::string_view label,
                 const LineMatcher& matcher, const std::function<void(const GrepHit&)>& found) {
    std::size_t hits = 0;
    filterLines(count, lineAt, matcher, GrepContains, false,
                [&](std::size_t j, std::string_view line) {
                    found(GrepHit{label, ++hits, j + 1, line});
                });
    return hits > 0;
}

bool grepBlock(const LineBlock& lines, std::string_view label, const LineMatcher& matcher,
               const std::function<void(const GrepHit&)>& found) {
    if (matcher.spansLines())
        return grepSection(
            lines.size(), [&lines](std::size_t j) { return lines[j]; }, label, matcher, found);
    const std::string_view text = lines.text();
    std::size_t hits = 0;
    std::size_t line = 0;
    // Each line begins a character, so a folded search need not walk the
    // lines before it again.
    for (std::size_t at = matcher.find(text); at != std::string_view::npos;
         at = matcher.find(text, lines.lineBegin(line + 1), lines.lineBegin(line + 1))) {
        line = lines.lineAt(at, line);
        found(GrepHit{label, ++hits, line + 1, lines[line]});
        if (line + 1 == lines.size()) break;
    }
    return hits > 0;
}

}  // namespace

void appendGrepPrefix(std::string& out, const GrepHit& hit) {
    out.append(hit.label);
    if (hit.line == 0) return;
    appendPadded(out, hit.hit, 6, '0');
    out += ':';
    appendNumberedLine(out, hit.line, {});
}

void appendGrepLine(std::string& out, const GrepHit& hit) {
    appendGrepPrefix(out, hit);
    out.append(hit.text);
}

bool MemoBasic::contains_(const LineMatcher& matcher, bool inFields, bool inComment, bool inMemo,
                          bool inName) const {
    if (matcher.empty()) return false;
    return (inName && matcher.contains(getName_())) || (inMemo && blockContains(memo, matcher)) ||
           (inComment && linesContain(comment, matcher)) ||
           (inFields && fieldsContain(fields, matcher));
}

bool MemoBasic::contains_(std::string_view text, bool ignoreCase, bool inFields, bool inComment,
                          bool inMemo, bool inName) const {
    return contains_(LineMatcher(text, ignoreCase), inFields, inComment, inMemo, inName);
}

bool MemoBasic::replace_(const LineMatcher& matcher, std::string_view replacement,
                         std::vector<std::string>& log, bool inFields, bool inComment, bool inMemo,
                         bool inName) {
    if (matcher.empty()) return false;
    if (inName) {
        std::string wanted = getName_();
        if (matcher.replaceAll(wanted, replacement)) {
            const std::string before = getName_();
            putName_as_(wanted);
            // The owner may have made the name unique or refused it (an empty
            // name): the log tells the name the record has now.
            const std::string given = getName_();
            if (given != before) log.push_back("replace name " + given);
        }
    }
    if (inMemo) replaceInBlock(memo, "replace Memo ", matcher, replacement, log);
    if (inComment) replaceInLines(comment, "replace Comment ", matcher, replacement, log);
    if (inFields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (!matcher.contains(fields[i])) continue;
            std::string line = fields[i];
            if (!matcher.replaceAll(line, replacement)) continue;
            // A field line without "=" is dropped by the next save.
            if (fields.hasKeyAt(i) && findSingleByte(line, '=') == std::string::npos) {
                logLine("Replace left a field line unchanged, it would lose its \"=\": " +
                        fields[i]);
                continue;
            }
            fields.setLine(i, std::move(line));
            appendChange(log, "replace Field ", i);
        }
    }
    return false;
}

bool MemoBasic::replace_(std::string_view find, std::string_view replacement,
                         std::vector<std::string>& log, bool inFields, bool inComment, bool inMemo,
                         bool inName, bool ignoreCase) {
    return replace_(LineMatcher(find, ignoreCase), replacement, log, inFields, inComment, inMemo,
                    inName);
}

bool MemoBasic::grep_(const LineMatcher& matcher, const std::function<void(const GrepHit&)>& found,
                      bool inFields, bool inComment, bool inMemo, bool inName) const {
    if (matcher.empty()) return false;
    bool matched = false;
    if (inName) {
        const std::string name = getName_();
        if (matcher.contains(name)) {
            found(GrepHit{"Name:", 0, 0, name});
            matched = true;
        }
    }
    auto lineOf = [](const std::vector<std::string>& lines) {
        return [&lines](std::size_t j) { return std::string_view(lines[j]); };
    };
    if (inMemo) matched |= grepBlock(memo, "Memo:", matcher, found);
    if (inComment)
        matched |= grepSection(comment.size(), lineOf(comment), "Comment:", matcher, found);
    if (inFields)
        matched |= grepSection(
            fields.size(), [this](std::size_t j) { return std::string_view(fields[j]); },
            "Fields:", matcher, found);
    return matched;
}

bool MemoBasic::grep_(const LineMatcher& matcher, std::vector<std::string>& result, bool inFields,
                      bool inComment, bool inMemo, bool inName) const {
    return grep_(
        matcher,
        [&result](const GrepHit& hit) {
            std::string line;
            appendGrepLine(line, hit);
            result.push_back(std::move(line));
        },
        inFields, inComment, inMemo, inName);
}

bool MemoBasic::grep_(std::string_view text, bool ignoreCase, std::vector<std::string>& result,
                      bool inFields, bool inComment, bool inMemo, bool inName) const {
    return grep_(LineMatcher(text, ignoreCase), result, inFields, inComment, inMemo, inName);
}

}  // namespace zel
