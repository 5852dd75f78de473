#include "formats/MarkupWords.h"

#include <cstdint>
#include <cstring>

#include "text/LineList.h"

namespace zel {

namespace {

// The stop bytes a scan looks for. Eight bytes are tested at once: text runs
// between stops are long, and a byte at a time dominated the split.
template <char... Stops>
struct StopBytes {
    static constexpr std::uint64_t kOnes = 0x0101010101010101u;
    static constexpr std::uint64_t kHighs = 0x8080808080808080u;

    // Non-zero when one of the eight bytes of `block` is zero.
    static std::uint64_t zeroByte(std::uint64_t block) { return (block - kOnes) & ~block & kHighs; }
    static bool anyIn(std::uint64_t block) {
        return (zeroByte(block ^ (kOnes * static_cast<unsigned char>(Stops))) | ...) != 0;
    }
    static bool is(char c) { return ((c == Stops) || ...); }

    // Position of the first stop byte at or after `pos`, else the end.
    static std::size_t find(std::string_view text, std::size_t pos) {
        for (std::uint64_t block; pos + sizeof block <= text.size(); pos += sizeof block) {
            std::memcpy(&block, text.data() + pos, sizeof block);
            if (anyIn(block)) break;
        }
        while (pos < text.size() && !is(text[pos])) ++pos;
        return pos;
    }
};
using TextStops = StopBytes<'<', '\r', '\n'>;
using TagStops = StopBytes<'>', '"', '\r', '\n'>;

}  // namespace

// A kept line break is this word; it lives as long as the program.
constexpr std::string_view kLineBreakWord = "<CR/>";

// Every byte the splitter reacts to (< > " CR LF) lies below 0x40 and so can
// never be the second byte of a Shift_JIS character: the text is scanned by
// bytes. A word is one piece of the text unless a line break was dropped from
// it; only then are its pieces copied together.
class WordSplitter {
  public:
    WordSplitter(std::string_view text, WordList& words, bool keepLineBreaks)
        : text_(text), words_(words), keepLineBreaks_(keepLineBreaks) {}

    // The list keeps `text`, and its words view that copy.
    static void splitKept(std::string text, WordList& words, bool keepLineBreaks) {
        words.clear();
        words.text_ = std::move(text);
        WordSplitter(words.text_, words, keepLineBreaks).run();
    }

    void run() {
        while (pos_ < text_.size()) {
            if (inTag_)
                scanTag();
            else
                scanText();
        }
    }

  private:
    static bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

    // A line break is CR or LF together with one directly following CR or LF.
    void skipLineBreak() {
        ++pos_;
        if (pos_ < text_.size() && isLineBreak(text_[pos_])) ++pos_;
    }

    // The part of the pending word since its last dropped line break.
    std::string_view piece() const { return text_.substr(pieceStart_, pos_ - pieceStart_); }
    // The pending word's parts before that line break.
    std::string_view earlier() const { return joined_.empty() ? held_ : joined_; }
    bool pendingIsEmpty() const { return earlier().empty() && pos_ == pieceStart_; }

    void startPending() {
        held_ = {};
        joined_.clear();
        pieceStart_ = pos_;
    }

    // A single part is still a view of the text; a second one makes a copy.
    void addPart(std::string_view part) {
        if (part.empty()) return;
        if (earlier().empty()) {
            held_ = part;
            return;
        }
        if (joined_.empty()) joined_ = held_;
        joined_ += part;
        held_ = {};
    }

    void emit() {
        addPart(piece());
        words_.words_.push_back(joined_.empty() ? held_
                                                : words_.joined_.emplace_back(std::move(joined_)));
        startPending();
    }

    // Leaves the line break at pos_ out of the pending word.
    void dropLineBreak() {
        addPart(piece());
        skipLineBreak();
        pieceStart_ = pos_;
    }

    bool pendingIsBlank() const {
        auto blank = [](std::string_view part) {
            for (char c : part)
                if (static_cast<unsigned char>(c) > 0x20) return false;
            return true;
        };
        return blank(earlier()) && blank(piece());
    }

    void scanText() {
        pos_ = TextStops::find(text_, pos_);
        if (pos_ == text_.size()) {
            startPending();  // a text run after the last tag is lost
            return;
        }
        if (text_[pos_] == '<') {
            if (pendingIsBlank())
                startPending();
            else
                emit();
            ++pos_;
            inTag_ = true;
            return;
        }
        if (!keepLineBreaks_) {
            dropLineBreak();
            return;
        }
        if (!pendingIsEmpty()) emit();
        skipLineBreak();
        words_.words_.push_back(kLineBreakWord);
        startPending();
    }

    void scanTag() {
        pos_ = TagStops::find(text_, pos_);
        if (pos_ == text_.size()) {
            startPending();  // an unterminated tag is no word
            return;
        }
        char c = text_[pos_];
        if (c == '>') {
            // Begins with "<" and ends with ">": trimmed already.
            ++pos_;
            emit();
            inTag_ = false;
        } else if (c == '"') {
            // Everything up to the closing quote, line breaks included.
            const void* close = std::memchr(text_.data() + pos_ + 1, '"', text_.size() - pos_ - 1);
            pos_ =
                close ? static_cast<std::size_t>(static_cast<const char*>(close) - text_.data()) + 1
                      : text_.size();
        } else {
            dropLineBreak();
        }
    }

    std::string_view text_;
    WordList& words_;
    bool keepLineBreaks_;
    std::size_t pos_ = 0;
    // Where the pending word's current piece begins, and its earlier parts:
    // one part as a view, several copied together.
    std::size_t pieceStart_ = 0;
    std::string_view held_;
    std::string joined_;
    bool inTag_ = false;
};

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

void splitBorrowedWords(std::string_view text, WordList& words, bool keepLineBreaks) {
    words.clear();
    WordSplitter(text, words, keepLineBreaks).run();
}

// The text is copied before the list is emptied: it may be one of its words.
void splitWords(std::string_view text, WordList& words, bool keepLineBreaks) {
    WordSplitter::splitKept(std::string(text), words, keepLineBreaks);
}

void splitWords(const std::vector<std::string>& lines, WordList& words, bool keepLineBreaks) {
    WordSplitter::splitKept(linesText(lines), words, keepLineBreaks);
}

}  // namespace zel
