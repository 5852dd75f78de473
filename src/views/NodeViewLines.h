#pragma once
// The line edits of the node view's selection operations that the shared
// line-list helpers do not already offer.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

using Lines = std::vector<std::string>;

// Sorted by text, letter case ignored (equal lines keep their order).
void sortLinesIgnoringCase(Lines& lines);
// Every line cut after each comma (the comma ends its piece).
Lines splitAtCommas(const Lines& lines);
// The lines joined without separator.
std::string joinLines(const Lines& lines);
// Every markup tag and every text run between tags on a line of its own;
// line breaks and blank runs dropped. Text after the last tag stays.
Lines splitAtTags(std::string_view text);

}  // namespace zel
