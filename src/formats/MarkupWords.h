#pragma once
// The word splitter of the tag reader: a markup text becomes a list of words,
// each a tag ("<...>") or a text run. Line breaks outside tags carry no
// meaning; the text on both sides of one joins without a separator.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Most words are views into the split text; only a word pieced together
// across a dropped line break is stored on its own. A view stays valid until
// the list changes (and, for borrowed words, while the split text lives).
class WordList {
  public:
    WordList() = default;
    // The views point into the list itself.
    WordList(const WordList&) = delete;
    WordList& operator=(const WordList&) = delete;

    std::size_t size() const { return words_.size(); }
    bool empty() const { return words_.empty(); }
    std::string_view operator[](std::size_t i) const { return words_[i]; }
    void clear();
    // Copies each word as a line (for logs and tests).
    std::vector<std::string> toLines() const;

    class Iterator {
      public:
        Iterator(const WordList* list, std::size_t i) : list_(list), i_(i) {}
        std::string_view operator*() const { return (*list_)[i_]; }
        Iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return i_ == other.i_; }

      private:
        const WordList* list_;
        std::size_t i_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

  private:
    friend class WordSplitter;
    // The split text, when the list keeps its own copy of it.
    std::string text_;
    // Words joined across line breaks; a deque never moves its elements.
    std::deque<std::string> joined_;
    std::vector<std::string_view> words_;
};

// Fills `words` with the words of the lines joined with CR LF. With keepLineBreaks a line
// break outside a tag ends the pending text run and adds the word "<CR/>";
// without it (every reader of this program) the line break is dropped. Runs of
// only blanks are dropped; a text run still pending at the end is lost.
void splitWords(const std::vector<std::string>& lines, WordList& words, bool keepLineBreaks);
// The same for a text that is already one piece.
void splitWords(std::string_view text, WordList& words, bool keepLineBreaks);
// As splitWords, without copying `text`: the words view it, so it must outlive
// them. For large texts that are read once.
void splitBorrowedWords(std::string_view text, WordList& words, bool keepLineBreaks);

}  // namespace zel
