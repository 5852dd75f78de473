#pragma once
// Lines of Shift_JIS text in and out of the node view's editors. The editors
// hold UTF-16; some Shift_JIS codes (the NEC-selected IBM rows, for instance)
// come back from UTF-16 as other bytes, so a line the user did not touch must
// keep the bytes it had.

#include <QString>
#include <cstddef>
#include <string>
#include <vector>

namespace zel {

using Lines = std::vector<std::string>;

// The lines joined with LF, as an editor holds them.
QString editorText(const Lines& lines);
// The lines of an editor text (CR LF, CR or LF end a line). `replaced`
// receives the number of characters Shift_JIS cannot hold, each now "?".
Lines editorLines(const QString& text, std::size_t& replaced);

// The lines of `edited`, an editor's text that showed `original` as `shown`:
// the lines at the head and at the tail that the user left as they were keep
// the bytes of `original`; the lines between are converted. An empty editor
// gives no lines.
Lines mergeEditedLines(const Lines& original, const QString& shown, const QString& edited,
                       std::size_t& replaced);

}  // namespace zel
