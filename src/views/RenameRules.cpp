#include "views/RenameRules.h"

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

std::string nameWithoutFirstWord(std::string_view name) {
    return splitFirstWord(name).second;
}

std::string nameFromClipboard(std::string_view text) {
    std::string name(text);
    std::erase(name, '\n');
    std::erase(name, '\r');
    return name;
}

std::string nameCounted(std::string_view name, bool up) {
    const std::string trimmed = trimText(name);
    auto [word, rest] = splitFirstWord(trimmed);
    if (!containsDigit(word)) return trimmed;
    std::string counted = up ? incrementDigits(word) : decrementDigits(word);
    return rest.empty() ? counted : counted + " " + rest;
}

std::string fileNamePart(std::string_view name) {
    std::size_t start = 0;
    for (std::size_t at = findAnySingleByte(name, "\\/:"); at != std::string_view::npos;
         at = findAnySingleByte(name, "\\/:", at + 1))
        start = at + 1;
    return std::string(name.substr(start));
}

}  // namespace zel
