#include "model/RecordText.h"

#include "text/TextHelpers.h"

namespace zel {

namespace {

// & < > and " are below 0x40, so none of them can be the second byte of a
// double-byte character and a plain byte scan finds exactly the characters.
bool needsEscape(std::string_view text) {
    return text.find_first_of("&<>\"") != std::string_view::npos;
}

}  // namespace

void appendEscapedMarkup(std::string& out, std::string_view text) {
    if (needsEscape(text))
        out += escapeMarkup(text);
    else
        out.append(text);
}

void appendBrokenMarkupLines(const std::vector<std::string>& source,
                             std::vector<std::string>& lines) {
    for (const std::string& line : source) {
        std::string out;
        out.reserve(line.size() + 5);
        appendEscapedMarkup(out, line);
        out += "<BR/>";
        lines.push_back(std::move(out));
    }
}

}  // namespace zel
