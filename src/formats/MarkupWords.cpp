#include "formats/MarkupWords.h"

#include "text/LineList.h"

namespace zel {

void WordList::clear() {
    text_.clear();
    joined_.clear();
    words_.clear();
}

std::vector<std::string> WordList::toLines() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::string_view word : *this) lines.emplace_back(word);
    return lines;
}

// A word that lies in the split text is kept as a view of it; one the scanner
// pieced together is copied.
void WordList::split(std::string_view text, bool keepLineBreaks) {
    joined_.clear();
    words_.clear();
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    auto take = [this, begin, end](std::string_view word) {
        const bool inText = word.data() >= begin && word.data() < end;
        words_.push_back(inText || word.data() == kLineBreakWord.data()
                             ? word
                             : std::string_view(joined_.emplace_back(word)));
        return true;
    };
    WordScanner<decltype(take)> scanner(take, keepLineBreaks);
    scanner.feed(text);
    scanner.finish();
}

// The text is copied before the list is emptied: it may be one of its words.
void WordList::splitKept(std::string text, bool keepLineBreaks) {
    text_ = std::move(text);
    split(text_, keepLineBreaks);
}

void splitBorrowedWords(std::string_view text, WordList& words, bool keepLineBreaks) {
    words.text_.clear();
    words.split(text, keepLineBreaks);
}

void splitWords(std::string_view text, WordList& words, bool keepLineBreaks) {
    words.splitKept(std::string(text), keepLineBreaks);
}

void splitWords(const std::vector<std::string>& lines, WordList& words, bool keepLineBreaks) {
    words.splitKept(linesText(lines), keepLineBreaks);
}

}  // namespace zel
