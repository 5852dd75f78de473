#include "formats/MarkupWords.h"

#include <array>
#include <cstring>

namespace zel {

namespace {

using StopTable = std::array<bool, 256>;
constexpr StopTable makeStops(std::string_view stops) {
    StopTable table{};
    for (char c : stops) table[static_cast<unsigned char>(c)] = true;
    return table;
}
constexpr StopTable kTextStops = makeStops("<\r\n");
constexpr StopTable kTagStops = makeStops(">\"\r\n");

}  // namespace

// Every byte the splitter reacts to (< > " CR LF) lies below 0x40 and so can
// never be the second byte of a Shift_JIS character: the text is scanned by
// bytes, and runs between those bytes are copied in one piece.
class WordSplitter {
  public:
    WordSplitter(std::string_view text, WordList& words, bool keepLineBreaks)
        : text_(text), words_(words), keepLineBreaks_(keepLineBreaks) {}

    void run() {
        words_.clear();
        words_.buffer_.reserve(text_.size());
        while (pos_ < text_.size()) {
            if (inTag_)
                scanTag();
            else
                scanText();
        }
    }

  private:
    static bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

    // Position of the first stop byte at or after pos_, else the end.
    std::size_t findStop(const StopTable& stops) const {
        const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
        std::size_t i = pos_;
        while (i < text_.size() && !stops[p[i]]) ++i;
        return i;
    }

    void copyUpTo(std::size_t stop) {
        words_.buffer_.append(text_.data() + pos_, stop - pos_);
        pos_ = stop;
    }

    // A line break is CR or LF together with one directly following CR or LF.
    void skipLineBreak() {
        ++pos_;
        if (pos_ < text_.size() && isLineBreak(text_[pos_])) ++pos_;
    }

    std::size_t pendingLength() const { return words_.buffer_.size() - wordStart_; }

    // The pending bytes become a word. Dropped runs are cut from the buffer,
    // so every word begins where the one before it ends.
    void emit() {
        wordStart_ = words_.buffer_.size();
        words_.ends_.push_back(wordStart_);
    }

    void dropPending() { words_.buffer_.resize(wordStart_); }

    bool pendingIsBlank() const {
        for (std::size_t i = wordStart_; i < words_.buffer_.size(); ++i)
            if (static_cast<unsigned char>(words_.buffer_[i]) > 0x20) return false;
        return true;
    }

    void scanText() {
        copyUpTo(findStop(kTextStops));
        if (pos_ == text_.size()) {
            dropPending();  // a text run after the last tag is lost
            return;
        }
        if (text_[pos_] == '<') {
            if (pendingIsBlank())
                dropPending();
            else
                emit();
            copyUpTo(pos_ + 1);
            inTag_ = true;
            return;
        }
        skipLineBreak();
        if (!keepLineBreaks_) return;
        if (pendingLength() > 0) emit();
        words_.buffer_ += "<CR/>";
        emit();
    }

    void scanTag() {
        copyUpTo(findStop(kTagStops));
        if (pos_ == text_.size()) {
            dropPending();  // an unterminated tag is no word
            return;
        }
        char c = text_[pos_];
        if (c == '>') {
            // Begins with "<" and ends with ">": trimmed already.
            copyUpTo(pos_ + 1);
            emit();
            inTag_ = false;
        } else if (c == '"') {
            // Everything up to the closing quote, line breaks included.
            const void* close = std::memchr(text_.data() + pos_ + 1, '"', text_.size() - pos_ - 1);
            copyUpTo(
                close ? static_cast<std::size_t>(static_cast<const char*>(close) - text_.data()) + 1
                      : text_.size());
        } else {
            skipLineBreak();
        }
    }

    std::string_view text_;
    WordList& words_;
    bool keepLineBreaks_;
    std::size_t pos_ = 0;
    std::size_t wordStart_ = 0;
    bool inTag_ = false;
};

void WordList::clear() {
    buffer_.clear();
    ends_.clear();
}

std::vector<std::string> WordList::toLines() const {
    std::vector<std::string> lines;
    lines.reserve(size());
    for (std::string_view word : *this) lines.emplace_back(word);
    return lines;
}

void splitWords(std::string_view text, WordList& words, bool keepLineBreaks) {
    WordSplitter(text, words, keepLineBreaks).run();
}

void splitWords(const std::vector<std::string>& lines, WordList& words, bool keepLineBreaks) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    splitWords(text, words, keepLineBreaks);
}

}  // namespace zel
