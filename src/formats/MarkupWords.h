#pragma once
// The word splitter of the tag reader: a markup text becomes a list of words,
// each a tag ("<...>") or a text run. Line breaks outside tags carry no
// meaning; the text on both sides of one joins without a separator.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The words live one after another in one buffer owned by the list, so
// splitting a large text costs no allocation per word, and a word is known by
// where it ends. A view stays valid until the list changes.
class WordList {
  public:
    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(buffer_).substr(begin, ends_[i] - begin);
    }
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
    std::string buffer_;
    std::vector<std::size_t> ends_;
};

// Fills `words` with the words of the lines joined with CR LF. With keepLineBreaks a line
// break outside a tag ends the pending text run and adds the word "<CR/>";
// without it (every reader of this program) the line break is dropped. Runs of
// only blanks are dropped; a text run still pending at the end is lost.
void splitWords(const std::vector<std::string>& lines, WordList& words, bool keepLineBreaks);
// The same for a text that is already one piece.
void splitWords(std::string_view text, WordList& words, bool keepLineBreaks);

}  // namespace zel
