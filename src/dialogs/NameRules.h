#pragma once
// The name dialog's buttons as text rules. A name is a sequence of words
// separated by blanks, whose first words are often a mark, a date or a
// number; each rule takes the name box's text and yields the new text. Words
// and cuts respect Shift_JIS: a double-byte character is never split.

#include <string>
#include <string_view>

#include "text/DateTime.h"

namespace zel {

// "Cut Head" and "Cut Tail" stop at one of these.
inline constexpr std::string_view kNameCutDelimiters = " \\/:.\t";

// `word` becomes the first, second or third word (`place` 1 to 3).
std::string insertNameWord(int place, std::string_view text, std::string_view word);
// The first, second or third word removed.
std::string cutNameWord(int place, std::string_view text);
// "Inc" / "Dec" of "$1": the first word counted when it holds a digit.
std::string countFirstWord(std::string_view text, bool up);
// "Inc" / "Dec" of "$2": the second word counted when it is all digits.
std::string countSecondWord(std::string_view text, bool up);
// "Inc10" / "Dec10": the file-name part counted in its tens place.
std::string countTens(std::string_view text, bool up);
// "Cut Head", "CH2", "Cut Tail", "CH1", "CT1".
std::string cutNameHead(std::string_view text);
std::string cutNameHeadTwice(std::string_view text);
std::string cutNameTail(std::string_view text);
std::string cutNameFirstChar(std::string_view text);
std::string cutNameLastChar(std::string_view text);
// "ExtractFilename": the part after the last "\", "/" or ":".
std::string extractNameFile(std::string_view text);
// "ChangeFileExt,''": without the file-name part's extension.
std::string removeNameExtension(std::string_view text);

// The date a name stands for, read from the digits of its first word and
// completed from `now` ("0131" is 31 January of this year, "25" the 25th of
// this month); `now` when they make no valid date.
DateTime calendarDateOfName(std::string_view name, const DateTime& now);
// "Set": `date` (formatted) replaces the first word when it holds a digit,
// else the second when that does, else the first.
std::string putDateIntoName(std::string_view text, std::string_view date);
// "<<" and ">>": a year back or forward; 29 February becomes the 28th.
DateTime shiftYears(const DateTime& date, int years);

}  // namespace zel
