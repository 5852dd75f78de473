#include "dialogs/NameRules.h"

#include <algorithm>
#include <tuple>

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The words of a text: the first word and the rest after it, and so on.
struct Words {
    std::string first, second, third;
    std::string afterFirst, afterSecond, afterThird;
};

Words wordsOf(std::string_view text) {
    Words words;
    std::tie(words.first, words.afterFirst) = splitFirstWord(text);
    std::tie(words.second, words.afterSecond) = splitFirstWord(words.afterFirst);
    std::tie(words.third, words.afterThird) = splitFirstWord(words.afterSecond);
    return words;
}

// `head` followed by a blank and `rest` when there is a rest.
std::string withRest(std::string head, std::string_view rest) {
    if (!rest.empty()) head.append(" ").append(rest);
    return head;
}

// Where the folder part of a path ends (after its last "\", "/" or ":") and
// where the extension of the file-name part begins (its last ".", else the end).
struct PathParts {
    std::size_t nameStart = 0;
    std::size_t extensionStart = 0;
};

PathParts pathPartsOf(std::string_view text) {
    PathParts parts;
    for (std::size_t at = findAnySingleByte(text, "\\/:"); at != std::string_view::npos;
         at = findAnySingleByte(text, "\\/:", at + 1))
        parts.nameStart = at + 1;
    parts.extensionStart = text.size();
    for (std::size_t at = findSingleByte(text, '.', parts.nameStart); at != std::string_view::npos;
         at = findSingleByte(text, '.', at + 1))
        parts.extensionStart = at;
    return parts;
}

}  // namespace

std::string insertNameWord(int place, std::string_view text, std::string_view word) {
    if (place <= 1) return std::string(word) + " " + std::string(text);
    const Words words = wordsOf(trimText(text));
    if (place == 2) return words.first + " " + std::string(word) + " " + words.afterFirst;
    return words.first + " " + words.second + " " + std::string(word) + " " + words.afterSecond;
}

std::string cutNameWord(int place, std::string_view text) {
    if (place <= 1) return splitFirstWord(text).second;
    const Words words = wordsOf(trimText(text));
    if (place == 2) return words.first + " " + words.afterSecond;
    return words.first + " " + words.second + " " + words.afterThird;
}

std::string countFirstWord(std::string_view text, bool up) {
    const Words words = wordsOf(trimText(text));
    if (!containsDigit(words.first)) return std::string(text);
    return withRest(up ? incrementDigits(words.first) : decrementDigits(words.first),
                    words.afterFirst);
}

std::string countSecondWord(std::string_view text, bool up) {
    const Words words = wordsOf(trimText(text));
    if (words.second.empty() || !isAllDigits(words.second)) return std::string(text);
    std::string counted = up ? incrementDigits(words.second) : decrementDigits(words.second);
    return withRest(words.first + " " + counted, words.afterSecond);
}

std::string countTens(std::string_view text, bool up) {
    const std::string trimmed = trimText(text);
    const PathParts parts = pathPartsOf(trimmed);
    const std::string_view view(trimmed);
    const std::string_view name =
        view.substr(parts.nameStart, parts.extensionStart - parts.nameStart);
    return std::string(view.substr(0, parts.nameStart)) +
           (up ? incrementTens(name) : decrementTens(name)) +
           std::string(view.substr(parts.extensionStart));
}

std::string cutNameHead(std::string_view text) {
    return cutHead(text, kNameCutDelimiters);
}

std::string cutNameHeadTwice(std::string_view text) {
    return cutNameHead(cutNameHead(text));
}

std::string cutNameTail(std::string_view text) {
    return cutTail(text, kNameCutDelimiters);
}

std::string cutNameFirstChar(std::string_view text) {
    return cutFirstChar(text);
}

std::string cutNameLastChar(std::string_view text) {
    return cutLastChar(text);
}

std::string extractNameFile(std::string_view text) {
    return std::string(text.substr(pathPartsOf(text).nameStart));
}

std::string removeNameExtension(std::string_view text) {
    return std::string(text.substr(0, pathPartsOf(text).extensionStart));
}

DateTime calendarDateOfName(std::string_view name, const DateTime& now) {
    const std::string digits = digitsOnly(splitFirstWord(trimText(name)).first);
    const std::string today = formatDateTime("yyyymmdd", now);
    std::string s;
    switch (digits.size()) {
        case 0:
            s = today;
            break;
        case 1:
            s = today.substr(0, 6) + "0" + digits;
            break;
        case 2:
            s = std::stoi(digits) < 32 ? today.substr(0, 6) + digits : today;
            break;
        case 3:
            s = today.substr(0, 4) + "0" + digits;
            break;
        case 4:
            s = today.substr(0, 4) + digits;
            break;
        case 5:
            s = today.substr(0, 3) + digits;
            break;
        case 6:
            s = today.substr(0, 2) + digits;
            break;
        case 7:
            s = "2" + digits;
            break;
        default:
            s = digits;
            break;
    }
    return readCompactDateTime(s).value_or(now);
}

std::string putDateIntoName(std::string_view text, std::string_view date) {
    const Words words = wordsOf(text);
    if (containsDigit(words.first)) return withRest(std::string(date), words.afterFirst);
    if (containsDigit(words.second))
        return withRest(words.first + " " + std::string(date), words.afterSecond);
    return withRest(std::string(date) + " " + words.second, words.afterSecond);
}

DateTime shiftYears(const DateTime& date, int years) {
    DateTime shifted = date;
    shifted.year = std::clamp(date.year + years, 1, 9999);
    shifted.day = std::min(date.day, daysInMonth(shifted.year, shifted.month));
    return shifted;
}

}  // namespace zel
