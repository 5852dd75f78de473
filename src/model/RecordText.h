#pragma once
// Small text pieces of the record writers. They work on views and append into
// the caller's buffer, because holders write hundreds of thousands of records
// and a copy per field or line would dominate the time.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The view without leading and trailing bytes up to 0x20 (trimText as a view).
std::string_view trimmedView(std::string_view text);
// The view without one layer of double quotes (stripQuotes as a view).
std::string_view unquotedView(std::string_view text);
// Appends `text` with & < > and the double quote as entities.
void appendEscapedMarkup(std::string& out, std::string_view text);
// Appends one markup line per source line: the escaped line and "<BR/>".
void appendBrokenMarkupLines(const std::vector<std::string>& source,
                             std::vector<std::string>& lines);

// The extension of the file a path names: from the last "." after the last
// "/", empty when there is none. ("." and "/" are never second bytes.)
std::string_view extensionOf(std::string_view path);
// The folder part of a path, with its trailing "/"; empty when there is none.
std::string_view folderOf(std::string_view path);

// The lines of a text file: a line ends at CR LF, LF or CR; a last line
// without line break counts when it is not empty.
std::vector<std::string> textLines(std::string_view text);
// Each line followed by CR LF.
std::string linesText(const std::vector<std::string>& lines);

}  // namespace zel
