#include "text/TextHelpers.h"

#include <vector>

#include "text/Sjis.h"

namespace zel {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Positions of the single-byte characters of `text`, so that scans from the end
// never land on the second byte of a double-byte character.
std::vector<std::size_t> singleBytePositions(std::string_view text) {
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
        if (charLength(text, i) == 1) positions.push_back(i);
    }
    return positions;
}

}  // namespace

std::string trimText(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    return std::string(text.substr(begin, end - begin));
}

bool containsDigit(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += charLength(text, i)) {
        if (isDigit(text[i]) && charLength(text, i) == 1) return true;
    }
    return false;
}

std::string incrementDigits(std::string_view text) {
    std::string out(text);
    auto positions = singleBytePositions(text);
    bool carry = false;
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        char& c = out[*it];
        if (!isDigit(c)) {
            if (carry) break;
            continue;
        }
        if (c != '9') {
            ++c;
            break;
        }
        c = '0';
        carry = true;
    }
    return out;
}

}  // namespace zel
