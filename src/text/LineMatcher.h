#pragma once
// The keyword test of every search: a line contains, begins or ends with a
// keyword, byte for byte over the Shift_JIS text (so a keyword may straddle two
// double-byte characters), letter case folded by the one fold of Sjis.h when
// asked. The line filter of New Child Grep, the record grep and the holder
// scans all run on it, with the keyword prepared once per run.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "text/LineList.h"

namespace zel {

// Where the keyword must stand; the values are the grep dialog's option index
// ("Normal", "Head", "Tail"). Any other value means "contains".
enum GrepMode : int { GrepContains = 0, GrepHead = 1, GrepTail = 2 };

class LineMatcher {
  public:
    LineMatcher(std::string_view keyword, bool ignoreCase);

    bool empty() const { return needle_.empty(); }
    bool ignoreCase() const { return ignoreCase_; }
    // The keyword as compared: folded when letter case is ignored.
    const std::string& needle() const { return needle_; }
    // A keyword with a CR or LF can only occur in a text whose lines are joined.
    bool spansLines() const { return spansLines_; }

    // The first byte position at or after `from` where the keyword occurs, on
    // a character boundary or not; npos when it does not (an empty keyword
    // never occurs). `boundary`, a character boundary at or before `from`,
    // saves a folded search walking the text before it again.
    std::size_t find(std::string_view text, std::size_t from = 0, std::size_t boundary = 0) const;
    bool contains(std::string_view text) const { return find(text) != std::string_view::npos; }
    // The line test of the filter: contains (empty keyword: false), head or
    // tail (a line shorter than the keyword: false; empty keyword: true).
    bool matches(std::string_view line, int mode) const;
    // Replaces every occurrence that begins on a character boundary, left to
    // right, without rescanning inserted text; the untouched bytes keep their
    // case. False, with `text` untouched, when there is none.
    bool replaceAll(std::string& text, std::string_view replacement) const;

  private:
    // Letter case ignored: candidates are the places of a raw byte that may
    // fold to the anchor byte, found in one pass; a candidate whose every
    // byte may fold to the keyword's is checked against the folded text.
    // Most lines hold no candidate and are never folded.
    std::size_t findFolded(std::string_view text, std::size_t from, std::size_t boundary) const;
    // The first place from `p` up to `end` (inside `text`) holding one of
    // the anchor's raw forms; none when there is none.
    const char* nextCandidate(const char* p, const char* end, std::string_view text) const;
    bool mayFoldToNeedle(const char* start) const;
    // The text as compared: itself, or its fold in the reused buffer.
    std::string_view compared(std::string_view text) const;
    std::size_t findExact(std::string_view hay, std::size_t from) const;

    std::string needle_;
    bool ignoreCase_;
    bool spansLines_ = false;
    // The needle's rarest byte and its place: the search looks for it first.
    std::size_t anchor_ = 0;
    char anchorByte_ = 0;
    // The raw bytes that fold to the anchor byte, the byte itself first.
    char preimages_[3] = {};
    int preimageCount_ = 0;
    // The keyword's other end (its first byte when the anchor is its last),
    // tested with the anchor; for a folded search, the raw bytes that fold to it.
    std::size_t other_ = 0;
    char otherImages_[3] = {};
    int otherCount_ = 0;
    // Per keyword byte, the raw bytes that may fold to it (a 256-bit set).
    std::vector<std::array<std::uint64_t, 4>> mayFold_;
    // One matcher serves one run on one thread; the buffer is its scratch.
    mutable std::string folded_;
};

// Inline: most lines are too short or hold no anchor byte, and the call is
// then most of the cost.
inline std::size_t LineMatcher::find(std::string_view text, std::size_t from,
                                     std::size_t boundary) const {
    if (needle_.empty() || from > text.size() || text.size() - from < needle_.size())
        return std::string_view::npos;
    return ignoreCase_ ? findFolded(text, from, boundary) : findExact(text, from);
}

// How often byte `b` turns up in Shift_JIS memo text, roughly (higher: more
// often): a search anchors on a keyword's rarest byte.
unsigned byteFrequency(unsigned char b);
// The raw bytes that the fold of Sjis.h may turn into `b` (itself first): an
// ASCII capital, or a capital's trail byte in rows 82-84. Yields their count.
int foldPreimages(unsigned char b, char (&out)[3]);

// `matchLine_`: whether `line` matches `keyword` in `mode`.
bool matchLine_(std::string_view line, int mode, std::string_view keyword, bool ignoreCase);

// `grepTSL_`: appends the lines of `source` that match (or, inverted, do not),
// each as it is or numbered ("%7d" + ": " + line). -9 without a source, -8
// without a destination, else the number of lines appended. The destination
// is not cleared; a list filtered into itself reads only the lines it had.
// Any list of lines may be the source.
template <class LineList>
int grepTSL_(const LineList* source, std::string_view keyword, Lines* destination, int mode,
             bool invert, bool numbered, bool ignoreCase);
inline int grepTSL_(const Lines* source, std::string_view keyword, Lines* destination, int mode,
                    bool invert, bool numbered, bool ignoreCase) {
    return grepTSL_<Lines>(source, keyword, destination, mode, invert, numbered, ignoreCase);
}

// Calls keep(index, line) for every line of `count` (line `j` is lineAt(j))
// that the filter keeps: those whose match differs from `invert`. Yields how
// many were kept.
template <class LineAt, class Keep>
std::size_t filterLines(std::size_t count, const LineAt& lineAt, const LineMatcher& matcher,
                        int mode, bool invert, const Keep& keep) {
    std::size_t kept = 0;
    for (std::size_t j = 0; j < count; ++j) {
        const std::string_view line = lineAt(j);
        if (matcher.matches(line, mode) == invert) continue;
        keep(j, line);
        ++kept;
    }
    return kept;
}

// Appends `value` in decimal, at least `width` characters wide, padded on the
// left with `pad`: "%7d" is (7, ' '), "%.6d" is (6, '0').
void appendPadded(std::string& out, unsigned long long value, int width, char pad);
// A kept line in its numbered form: number "%7d", ": ", the line.
void appendNumberedLine(std::string& out, std::size_t number, std::string_view line);

template <class LineList>
int grepTSL_(const LineList* source, std::string_view keyword, Lines* destination, int mode,
             bool invert, bool numbered, bool ignoreCase) {
    if (!source) return -9;
    if (!destination) return -8;
    const LineMatcher matcher(keyword, ignoreCase);
    // Taken first: a list filtered into itself must not read what it gains.
    const std::size_t count = source->size();
    const std::size_t kept = filterLines(
        count, [source](std::size_t j) { return std::string_view((*source)[j]); }, matcher, mode,
        invert,
        [&](std::size_t j, std::string_view line) {
            std::string out;
            if (numbered)
                appendNumberedLine(out, j + 1, line);
            else
                out.assign(line);
            destination->push_back(std::move(out));
        });
    return static_cast<int>(kept);
}

}  // namespace zel
