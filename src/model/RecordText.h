#pragma once
// Small text pieces of the record writers. They work on views and append into
// the caller's buffer, because holders write hundreds of thousands of records
// and a copy per field or line would dominate the time.

#include <string>
#include <string_view>
#include <vector>

#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

// Appends `text` with & < > and the double quote as entities.
void appendEscapedMarkup(std::string& out, std::string_view text);
// Appends one markup line per source line (any list of lines): the escaped
// line and "<BR/>".
template <class LineList>
void appendBrokenMarkupLines(const LineList& source, std::vector<std::string>& lines) {
    for (std::string_view line : source) {
        std::string out;
        out.reserve(line.size() + 5);
        appendEscapedMarkup(out, line);
        out += "<BR/>";
        lines.push_back(std::move(out));
    }
}

}  // namespace zel
