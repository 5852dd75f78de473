// Record-level search, replace and grep, as the search windows use them.

#include "model/MemoBasic.h"
#include "model/RecordText.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"

namespace zel {

namespace {

// Matches start on character boundaries, so a letter never matches the second
// byte of a double-byte character (ア is 83 41, and 41 is "A").
bool textContains(std::string_view text, std::string_view needle, bool ignoreCase) {
    return (ignoreCase ? findText(text, needle) : findOnBoundary(text, needle)) !=
           std::string_view::npos;
}

// Every occurrence of `find` replaced; `text` unchanged when there is none.
bool replaceAllIn(std::string& text, std::string_view find, std::string_view replacement,
                  bool ignoreCase) {
    const std::string folded = ignoreCase ? lowerText(text) : std::string();
    const std::string foldedFind = ignoreCase ? lowerText(find) : std::string();
    const std::string_view hay = ignoreCase ? std::string_view(folded) : std::string_view(text);
    const std::string_view needle = ignoreCase ? std::string_view(foldedFind) : find;
    std::size_t hit = findOnBoundary(hay, needle);
    if (hit == std::string_view::npos) return false;
    std::string out;
    std::size_t done = 0;
    while (hit != std::string_view::npos) {
        out.append(text, done, hit - done).append(replacement);
        done = hit + find.size();
        hit = findOnBoundary(hay, needle, done);
    }
    out.append(text, done);
    text = std::move(out);
    return true;
}

void replaceInLines(std::vector<std::string>& lines, std::string_view label, std::string_view find,
                    std::string_view replacement, bool ignoreCase, std::vector<std::string>& log) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (replaceAllIn(lines[i], find, replacement, ignoreCase))
            log.push_back(std::string(label) + formatNumber("%.6d", static_cast<long long>(i + 1)));
    }
}

// The line filter's contains test: a plain byte search in the (folded) line,
// so that a record grep lists the same lines as the line filter does.
bool lineContains(std::string_view line, std::string_view foldedNeedle, bool ignoreCase) {
    if (!ignoreCase) return line.find(foldedNeedle) != std::string_view::npos;
    return lowerText(line).find(foldedNeedle) != std::string::npos;
}

// Each matching line as label, hit number ("%.6d"), ":", line number ("%7d"),
// ": " and the line.
bool grepSection(const std::vector<std::string>& lines, std::string_view label,
                 std::string_view foldedNeedle, bool ignoreCase, std::vector<std::string>& result) {
    long long hits = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!lineContains(lines[i], foldedNeedle, ignoreCase)) continue;
        result.push_back(std::string(label) + formatNumber("%.6d", ++hits) + ":" +
                         formatNumber("%7d", static_cast<long long>(i + 1)) + ": " + lines[i]);
    }
    return hits > 0;
}

std::vector<std::string> fieldLines(const FieldList& fields) {
    std::vector<std::string> lines;
    lines.reserve(fields.size());
    for (std::size_t i = 0; i < fields.size(); ++i) lines.push_back(fields[i]);
    return lines;
}

}  // namespace

bool MemoBasic::contains_(std::string_view text, bool ignoreCase, bool inFields, bool inComment,
                          bool inMemo, bool inName) const {
    if (text.empty()) return false;
    return (inName && textContains(getName_(), text, ignoreCase)) ||
           (inMemo && textContains(linesText(memo), text, ignoreCase)) ||
           (inComment && textContains(linesText(comment), text, ignoreCase)) ||
           (inFields && textContains(fields.text(), text, ignoreCase));
}

bool MemoBasic::replace_(std::string_view find, std::string_view replacement,
                         std::vector<std::string>& log, bool inFields, bool inComment, bool inMemo,
                         bool inName, bool ignoreCase) {
    if (find.empty()) return false;
    if (inName) {
        std::string name = getName_();
        if (replaceAllIn(name, find, replacement, ignoreCase)) {
            putName_as_(name);
            log.push_back("replace name " + name);
        }
    }
    if (inMemo) replaceInLines(memo, "replace Memo ", find, replacement, ignoreCase, log);
    if (inComment) replaceInLines(comment, "replace Comment ", find, replacement, ignoreCase, log);
    if (inFields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            std::string line = fields[i];
            if (!replaceAllIn(line, find, replacement, ignoreCase)) continue;
            fields.setLine(i, std::move(line));
            log.push_back("replace Field " + formatNumber("%.6d", static_cast<long long>(i + 1)));
        }
    }
    return false;
}

bool MemoBasic::grep_(std::string_view text, bool ignoreCase, std::vector<std::string>& result,
                      bool inFields, bool inComment, bool inMemo, bool inName) const {
    if (text.empty()) return false;
    const std::string needle = ignoreCase ? lowerText(text) : std::string(text);
    bool matched = false;
    if (inName) {
        const std::string name = getName_();
        if (lineContains(name, needle, ignoreCase)) {
            result.push_back("Name:" + name);
            matched = true;
        }
    }
    if (inMemo) matched |= grepSection(memo, "Memo:", needle, ignoreCase, result);
    if (inComment) matched |= grepSection(comment, "Comment:", needle, ignoreCase, result);
    if (inFields) matched |= grepSection(fieldLines(fields), "Fields:", needle, ignoreCase, result);
    return matched;
}

}  // namespace zel
