// Record-level search, replace and grep, as the search windows use them.
//
// Sections are lists of separate lines. A keyword without a line break occurs
// in a section's joined text exactly when it occurs in one of its lines (and
// the fold of the joined text is the lines' folds joined), so only a keyword
// with a line break needs the joined text; everything else runs line by line
// and allocates nothing for lines without a hit.

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

}  // namespace

void appendGrepLine(std::string& out, const GrepHit& hit) {
    out.append(hit.label);
    if (hit.line == 0) {
        out.append(hit.text);
        return;
    }
    appendPadded(out, hit.hit, 6, '0');
    out += ':';
    appendNumberedLine(out, hit.line, hit.text);
}

bool MemoBasic::contains_(const LineMatcher& matcher, bool inFields, bool inComment, bool inMemo,
                          bool inName) const {
    if (matcher.empty()) return false;
    return (inName && matcher.contains(getName_())) || (inMemo && linesContain(memo, matcher)) ||
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
    if (inMemo) replaceInLines(memo, "replace Memo ", matcher, replacement, log);
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
    if (inMemo) matched |= grepSection(memo.size(), lineOf(memo), "Memo:", matcher, found);
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
