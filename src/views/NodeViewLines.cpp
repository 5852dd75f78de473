#include "views/NodeViewLines.h"

#include <algorithm>

#include "formats/MarkupWords.h"
#include "text/Sjis.h"

namespace zel {

namespace {

// The markup splitter drops a text run that no tag follows; a closing
// sentinel tag lets the user's last run through, and is taken off again.
constexpr std::string_view kSentinel = "<>";

}  // namespace

void sortLinesIgnoringCase(Lines& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return compareText(a, b) < 0;
    });
}

Lines splitAtCommas(const Lines& lines) {
    Lines pieces;
    for (const std::string& line : lines) {
        std::size_t start = 0;
        std::size_t comma;
        while ((comma = findSingleByte(line, ',', start)) != std::string::npos) {
            pieces.push_back(line.substr(start, comma + 1 - start));
            start = comma + 1;
        }
        if (start < line.size() || start == 0) pieces.push_back(line.substr(start));
    }
    return pieces;
}

std::string joinLines(const Lines& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line;
    return joined;
}

Lines splitAtTags(std::string_view text) {
    WordList words;
    splitWords(std::string(text) + std::string(kSentinel), words, false);
    Lines lines = words.toLines();
    if (!lines.empty() && lines.back().ends_with(kSentinel)) {
        lines.back().resize(lines.back().size() - kSentinel.size());
        if (lines.back().empty()) lines.pop_back();
    }
    return lines;
}

}  // namespace zel
