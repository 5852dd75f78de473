#pragma once
// Edits on lists of Shift_JIS lines (memo text, node names, generated pages).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

using Lines = std::vector<std::string>;

// The lines of a text file: a line ends at CR LF, LF or CR; a last line
// without line break counts when it is not empty.
Lines textLines(std::string_view text);
// Each line followed by CR LF, the line end of every file zel writes.
std::string linesText(const Lines& lines);

// Deletes the lines that are empty after trimming; yields how many went.
std::size_t removeBlankLines(Lines& lines);
// The following edit every line and yield the line count.
std::size_t trimLines(Lines& lines);
std::size_t appendToLines(Lines& lines, std::string_view suffix);
// With `skipEmpty`, empty lines stay empty.
std::size_t prefixLines(Lines& lines, std::string_view prefix, bool skipEmpty);
// Drops the first `count` characters of every line (cutFirstChars); nothing
// for a count below 1.
void cutLineHeads(Lines& lines, long long count);
// Line i becomes formatNumber(format, start + i) followed by the line; a blank
// format means "%.8d:".
void numberLines(Lines& lines, std::string_view format, long long start);
void reverseLines(Lines& lines);
// Sorted ignoring letter case, then each line byte-equal to its successor
// dropped (lines that differ only in letter case both stay).
void sortUnique(Lines& lines);
// Prefixes "* " to every line equal to the line before it (as that one was
// before marking); yields how many were marked.
std::size_t markRepeats(Lines& lines);
// Appends every source line (a list may be appended to itself); yields the
// source's line count.
std::size_t appendLines(Lines& destination, const Lines& source);
// Occurrences of `word` over all lines, letter case ignored.
std::size_t countInLines(const Lines& lines, std::string_view word);

// `wanted`, or the first free variant of it when some entry already carries it
// (letter case ignored): the last digit run counted up, or without digits
// "_" and the two-digit index of that entry. `indexOf` answers the index of the
// entry carrying a name, or -1.
std::string uniqueName(std::string_view wanted,
                       const std::function<int(std::string_view)>& indexOf);
// Where a unique-name search stopped: every candidate before `candidate` was
// taken. Asking again for the same wanted name (and, for a name without
// digits, the same carrier index) while no name has been freed may resume
// there, which gives the same result as starting over without walking again.
struct UniqueNameCursor {
    std::string candidate;  // empty: start from the beginning
    int tries = 0;
};
std::string uniqueName(std::string_view wanted, const std::function<int(std::string_view)>& indexOf,
                       UniqueNameCursor& cursor);
// uniqueName against the lines of a list.
std::string uniqueNameInList(const Lines& lines, std::string_view wanted);

// Each source line as a table row, cells split at "," (not escaped; an empty
// cell as &nbsp;), appended to `target`.
void csvToHTMLRows(const Lines& source, Lines& target);
// A whole Shift_JIS HTML page around those rows.
void csvToHTMLPage(const Lines& source, Lines& target, std::string_view caption,
                   std::string_view generator);
// A "#size=" line, a heading line and one line per `bytesPerLine` bytes
// (offset, byte sum modulo 256, the bytes), all hexadecimal upper case.
// `bytesPerLine` is held to 1-256. Yields the body size.
std::size_t hexDump(Lines& target, std::string_view body, int bytesPerLine);

}  // namespace zel
