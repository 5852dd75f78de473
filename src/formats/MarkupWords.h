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

#include "formats/ByteStops.h"

namespace zel {

// A kept line break is this word.
inline constexpr std::string_view kLineBreakWord = "<CR/>";

// Splits markup into words as its bytes arrive, in pieces of any size, and
// hands each word to `take` as soon as it is complete: a view into the piece,
// or into the scanner's own copy when the word was pieced together across a
// dropped line break or two pieces (valid only during the call). `take`
// answers whether to go on.
//
// The rules: outside a tag, "<" ends the pending text run, which is handed
// over untrimmed unless it is only blanks (bytes up to 0x20), and starts a tag;
// a line break (CR or LF, with one directly following CR or LF) is dropped, so
// the text on both sides joins; with keepLineBreaks it ends the pending run
// instead, which is handed over as it is, followed by the word "<CR/>". Inside
// a tag, ">" ends it; a double quote takes every byte up to and including the
// next one, line breaks too; a line break outside quotes is dropped. A text run
// or a tag still pending at the end is lost. Every byte the rules look at lies
// below 0x40 and so is never the second byte of a Shift_JIS character.
template <class Take>
class WordScanner {
  public:
    WordScanner(Take take, bool keepLineBreaks) : take_(take), keepLineBreaks_(keepLineBreaks) {}

    // False once `take` said stop (later pieces are ignored).
    bool feed(std::string_view piece) {
        if (stopped_) return false;
        const char* p = piece.data();
        const char* const end = p + piece.size();
        if (pairedBreakMayFollow_ && p < end) {
            pairedBreakMayFollow_ = false;
            if (isLineBreak(*p)) ++p;
        }
        const char* start = p;  // where the pending word's part in this piece begins
        while (!stopped_) {
            if (inQuote_) {
                const void* close = std::memchr(p, '"', static_cast<std::size_t>(end - p));
                if (!close) return keep(start, end);
                p = static_cast<const char*>(close) + 1;
                inQuote_ = false;
            }
            if (!inTag_) {
                const char* stop = TextStops::find(p, end);
                if (stop == end) return keep(start, end);
                if (*stop == '<') {
                    handOverRun(start, stop);
                    inTag_ = true;
                    start = stop;
                    p = stop + 1;
                    continue;
                }
                if (keepLineBreaks_) {
                    if (hasParts() || stop > start) handOver(start, stop);
                    if (!stopped_) stopped_ = !take_(kLineBreakWord);
                } else {
                    addPart(start, stop);
                }
                start = p = skipLineBreak(stop, end);
                continue;
            }
            const char* stop = TagStops::find(p, end);
            if (stop == end) return keep(start, end);
            if (*stop == '>') {
                handOver(start, stop + 1);
                inTag_ = false;
                start = p = stop + 1;
            } else if (*stop == '"') {
                inQuote_ = true;
                p = stop + 1;
            } else {
                addPart(start, stop);
                start = p = skipLineBreak(stop, end);
            }
        }
        return false;
    }

    // The end of the text: whatever is pending is lost.
    void finish() {
        clearParts();
        inTag_ = inQuote_ = pairedBreakMayFollow_ = false;
    }

  private:
    using TextStops = ByteStops<'<', '\r', '\n'>;
    using TagStops = ByteStops<'>', '"', '\r', '\n'>;

    static bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

    const char* skipLineBreak(const char* at, const char* end) {
        ++at;
        if (at == end)
            pairedBreakMayFollow_ = true;
        else if (isLineBreak(*at))
            ++at;
        return at;
    }

    // The pending word's parts before its last one: a single part stays a
    // view of the piece it lies in; a second one makes a copy.
    bool hasParts() const { return !held_.empty() || !pending_.empty(); }
    void addPart(const char* start, const char* stop) {
        if (start == stop) return;
        const std::string_view part(start, static_cast<std::size_t>(stop - start));
        if (!hasParts()) {
            held_ = part;
            return;
        }
        ownParts();
        pending_.append(part);
    }
    void ownParts() {
        if (held_.empty()) return;
        pending_.assign(held_);
        held_ = {};
    }
    void clearParts() {
        pending_.clear();
        held_ = {};
    }

    // The piece ended inside a word: its parts so far wait for the next piece.
    bool keep(const char* start, const char* end) {
        addPart(start, end);
        ownParts();
        return true;
    }

    static bool isBlank(std::string_view text) {
        for (char c : text)
            if (static_cast<unsigned char>(c) > 0x20) return false;
        return true;
    }

    // The pending word with its last part [start, stop).
    std::string_view word(const char* start, const char* stop) {
        if (!hasParts()) return {start, static_cast<std::size_t>(stop - start)};
        if (start == stop && pending_.empty()) return held_;
        addPart(start, stop);
        ownParts();
        return pending_;
    }

    void handOver(const char* start, const char* stop) {
        stopped_ = !take_(word(start, stop));
        clearParts();
    }

    void handOverRun(const char* start, const char* stop) {
        const std::string_view run = word(start, stop);
        if (!run.empty() && !isBlank(run)) stopped_ = !take_(run);
        clearParts();
    }

    Take take_;
    const bool keepLineBreaks_;
    std::string_view held_;
    std::string pending_;
    bool inTag_ = false;
    bool inQuote_ = false;
    // The last piece ended on a line break whose pair may open this one.
    bool pairedBreakMayFollow_ = false;
    bool stopped_ = false;
};

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
    friend void splitBorrowedWords(std::string_view, WordList&, bool);
    friend void splitWords(std::string_view, WordList&, bool);
    friend void splitWords(const std::vector<std::string>&, WordList&, bool);
    // The words of `text`, views of it where they lie in it.
    void split(std::string_view text, bool keepLineBreaks);
    // The same for a text the list keeps.
    void splitKept(std::string text, bool keepLineBreaks);
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
