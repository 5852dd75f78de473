#pragma once
// The names the holder view's "Rename" entries give a node. Pure text rules:
// an empty result means "do not rename".

#include <string>
#include <string_view>

namespace zel {

// The name without its first word (the rest after the first blank or tab,
// trimmed); empty for a one-word name.
std::string nameWithoutFirstWord(std::string_view name);
// Clipboard text as a name: every line feed, then every carriage return removed.
std::string nameFromClipboard(std::string_view text);
// The trimmed name with its first word counted up or down when that word
// holds a digit ("page9 note" -> "page0 note", "a10 b" -> "a09 b").
std::string nameCounted(std::string_view name, bool up);
// The text after the last backslash, slash or colon.
std::string fileNamePart(std::string_view name);

}  // namespace zel
