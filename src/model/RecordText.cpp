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

}  // namespace zel
