#include "text/Values.h"

#include <algorithm>

#include "text/NumberFormat.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

struct NamedColor {
    std::string_view name;
    Color value;
};

// The first sixteen are written; the last two are read only (their values are
// written under the names above them).
constexpr NamedColor kNamedColors[] = {
    {"clBlack", 0x000000},  {"clMaroon", 0x000080},  {"clRed", 0x0000FF},    {"clGreen", 0x008000},
    {"clOlive", 0x008080},  {"clLime", 0x00FF00},    {"clYellow", 0x00FFFF}, {"clNavy", 0x800000},
    {"clPurple", 0x800080}, {"clTeal", 0x808000},    {"clDkGray", 0x808080}, {"clLtGray", 0xC0C0C0},
    {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},   {"clWhite", 0xFFFFFF},
    {"clGray", 0x808080},   {"clSilver", 0xC0C0C0},
};
constexpr std::size_t kWrittenNames = 16;

int digitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    return value < static_cast<int>(base) ? value : -1;
}

// The digits from the start in `base`; stops at a foreign character, and
// before a digit that would overflow 32 bits.
Color readNumber(std::string_view digits, unsigned base) {
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit = digitValue(c, base);
        if (digit < 0 || value * base + digit > 0xFFFFFFFFu) break;
        value = value * base + digit;
    }
    return static_cast<Color>(value);
}

}  // namespace

std::string boolToText(bool flag) {
    return flag ? "true" : "false";
}

std::string colorToName(Color color) {
    auto end = kNamedColors + kWrittenNames;
    auto it =
        std::find_if(kNamedColors, end, [&](const NamedColor& n) { return n.value == color; });
    if (it != end) return std::string(it->name);
    return "$" + formatNumber("%.6X", color);
}

Color nameToColor(std::string_view text) {
    if (trimText(text).empty()) return 0;
    if (text[0] == '$') return readNumber(text.substr(1), 16);
    if (text[0] >= '0' && text[0] <= '9') return readNumber(text, 10);
    for (const auto& named : kNamedColors) {
        if (named.name == text) return named.value;
    }
    return 0;
}

bool pointInRect(Point point, const Rect& rect) {
    return rect.left < point.x && point.x < rect.right && rect.top < point.y &&
           point.y < rect.bottom;
}

}  // namespace zel
