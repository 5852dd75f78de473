#pragma once
// Free functions on single Shift_JIS texts shared by the whole program. A byte
// of a double-byte character never counts as a delimiter, quote or digit.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel {

// Without leading and trailing bytes up to 0x20 (blanks and control characters).
std::string trimText(std::string_view text);
// trimText as a view, for hot paths that must not copy.
std::string_view trimmedView(std::string_view text);
// One layer of double quotes removed (stripQuotes with '"') as a view.
std::string_view unquotedView(std::string_view text);

// The extension of the file a path names: from the last "." after the last
// "/", empty when there is none. ("." and "/" are never second bytes.)
std::string_view extensionOf(std::string_view path);
// The folder part of a path, with its trailing "/"; empty when there is none.
std::string_view folderOf(std::string_view path);
// The last component of `path`, with and without its extension.
std::string fileNameOf(std::string_view path);
std::string baseNameOf(std::string_view path);
// `path` with its extension replaced by `extension` (".mxa").
std::string withExtension(std::string_view path, std::string_view extension);

// Removes one layer of `quote`: the leading one, and the trailing one too when
// the text begins with it. A text that does not begin with `quote` stays.
std::string stripQuotes(std::string_view text, char quote = '"');
// Adds `quote` in front and at the end where it is not there already.
std::string wrapQuotes(std::string_view text, char quote = '"');

// & < > and the double quote as entities, for record markup.
std::string escapeMarkup(std::string_view text);
// The inverse of escapeMarkup, also taking &nbsp; (entity names in any case).
std::string unescapeMarkup(std::string_view text);
// unescapeMarkup of `text` appended to `out`.
void appendUnescapedMarkup(std::string& out, std::string_view text);
// & < > as entities (double quotes kept) and a leading blank as &nbsp;.
std::string escapeHTML(std::string_view text);

// Each of \ / : , ; * ? " < > | and every control byte becomes "_"; a name of
// only dots ("." or "..") becomes underscores, so the result is always one
// harmless name inside whatever folder it is joined to.
std::string safeFileName(std::string_view text);
// The local file name a downloaded address is stored under: separators and
// colons removed, "index.html" for a folder address, "_index.html" after a
// bare host name. Never a path, never "." or "..".
std::string urlToFileName(std::string_view address);

// The cells of `text` between single-byte `delimiters`, each trimmed except
// the last, which is dropped when empty.
std::vector<std::string> splitText(std::string_view text, std::string_view delimiters);
// As splitText, but a double quote or apostrophe opens a section, closed by the
// same character, in which delimiters do not split (a doubled quote stays in
// it). The quotes stay in the cell.
std::vector<std::string> splitQuoted(std::string_view text, std::string_view delimiters);
// splitQuoted as views into `text`, for readers that copy only what they keep.
std::vector<std::string_view> splitQuotedViews(std::string_view text, std::string_view delimiters);
// The same into `cells` (emptied first), whose room a reader of many texts reuses.
void splitQuotedViews(std::string_view text, std::string_view delimiters,
                      std::vector<std::string_view>& cells);

// The text up to the first blank or tab, and the rest from there on, trimmed.
std::pair<std::string, std::string> splitFirstWord(std::string_view text);

// Non-overlapping occurrences of `pattern` on character boundaries; 0 for an
// empty text or pattern.
std::size_t countOccurrences(std::string_view text, std::string_view pattern);

// True when every character is a decimal digit (also for the empty text).
bool isAllDigits(std::string_view text);
// True for text beginning "http:/" or "https:" in any letter case.
bool isWebAddress(std::string_view text);
// `path` with every "\\" that stands as a character of its own turned into
// "/" (paths written on the other desktop); a "\\" that is the second byte
// of a double-byte character stays.
std::string withSlashes(std::string_view path);
// The whole trimmed text as a decimal integer with an optional sign; nothing
// for any other text or a value out of range.
std::optional<long long> readInteger(std::string_view text);
bool containsDigit(std::string_view text);
// The decimal digits of the text in order.
std::string digitsOnly(std::string_view text);

// The last digit run counted up by one with carry (memo19 -> memo20, 99 -> 00).
std::string incrementDigits(std::string_view text);
// Counted down with borrow (memo10 -> memo09, 00 -> 99).
std::string decrementDigits(std::string_view text);
// As incrementDigits / decrementDigits, starting at the digit before the last
// one (memo15 -> memo25); the last digit itself stays.
std::string incrementTens(std::string_view text);
std::string decrementTens(std::string_view text);

// Characters dropped from the front until one of `delimiters` leads or three
// bytes or fewer remain (C:\memo\a.txt -> :\memo\a.txt).
std::string cutHead(std::string_view text, std::string_view delimiters);
// Characters dropped from the end until one of `delimiters` ends the text or
// two bytes or fewer remain.
std::string cutTail(std::string_view text, std::string_view delimiters);
// Without its first character; empty for a text of up to one byte.
std::string cutFirstChar(std::string_view text);
// Without its first `count` characters; empty when `count` reaches the length
// in bytes.
std::string cutFirstChars(std::string_view text, long long count);
// Without its last character; empty for a text of up to one byte.
std::string cutLastChar(std::string_view text);

}  // namespace zel
