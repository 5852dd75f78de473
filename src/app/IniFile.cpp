#include "app/IniFile.h"

#include <climits>

#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

IniFile::IniFile(std::string_view text) : lines_(textLines(text)) {}

std::string IniFile::raw(std::string_view key) const {
    for (const std::string& line : lines_) {
        std::size_t equals = findSingleByte(line, '=');
        if (equals == std::string::npos) continue;
        if (sameText(std::string_view(line).substr(0, equals), key)) return line.substr(equals + 1);
    }
    return {};
}

std::string IniFile::normalised(std::string_view key) const {
    return stripQuotes(trimText(raw(key)), '"');
}

int IniFile::integer(std::string_view key) const {
    return leadingInteger(normalised(key));
}

namespace {

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

int leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        int digit = digitValue(text[i], base);
        if (digit < 0) break;
        value = value * base + digit;
        if (value > INT_MAX) break;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace zel
