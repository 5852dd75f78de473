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
// Appends one markup line per source line: the escaped line and "<BR/>".
void appendBrokenMarkupLines(const std::vector<std::string>& source,
                             std::vector<std::string>& lines);

}  // namespace zel
