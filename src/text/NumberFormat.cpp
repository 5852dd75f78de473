#include "text/NumberFormat.h"

#include <optional>

#include "text/Sjis.h"

namespace zel {

namespace {

// Widths and precisions beyond this are refused: a stored format must not make
// a name of a million blanks.
constexpr int kMaxField = 64;

struct Conversion {
    bool left = false, plus = false, space = false, zero = false, alternate = false;
    int width = 0;
    int precision = -1;
    bool hex = false;
};

// Reads the digits at `pos`; nothing when they exceed kMaxField.
std::optional<int> readField(std::string_view text, std::size_t& pos) {
    int value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos++] - '0');
        if (value > kMaxField) return std::nullopt;
    }
    return value;
}

// The conversion that starts after the "%" at `pos`; `pos` ends after it.
std::optional<Conversion> readConversion(std::string_view text, std::size_t& pos) {
    Conversion c;
    for (; pos < text.size(); ++pos) {
        switch (text[pos]) {
            case '-':
                c.left = true;
                continue;
            case '+':
                c.plus = true;
                continue;
            case ' ':
                c.space = true;
                continue;
            case '0':
                c.zero = true;
                continue;
            case '#':
                c.alternate = true;
                continue;
        }
        break;
    }
    auto width = readField(text, pos);
    if (!width) return std::nullopt;
    c.width = *width;
    if (pos < text.size() && text[pos] == '.') {
        auto precision = readField(text, ++pos);
        if (!precision) return std::nullopt;
        c.precision = *precision;
    }
    if (pos >= text.size()) return std::nullopt;
    char kind = text[pos++];
    if (kind != 'd' && kind != 'x' && kind != 'X') return std::nullopt;
    c.hex = kind != 'd';
    return c;
}

std::string digitsOf(unsigned long long magnitude, bool hex) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    const unsigned base = hex ? 16 : 10;
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[magnitude % base]);
        magnitude /= base;
    } while (magnitude != 0);
    return digits;
}

std::string render(const Conversion& c, long long value) {
    // Hexadecimal shows the two's complement bits, as printf does.
    bool negative = !c.hex && value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::string digits = c.precision == 0 && value == 0 ? "" : digitsOf(magnitude, c.hex);
    if (c.precision > static_cast<int>(digits.size())) {
        digits.insert(0, c.precision - digits.size(), '0');
    }
    std::string prefix;
    if (negative) {
        prefix = "-";
    } else if (!c.hex && c.plus) {
        prefix = "+";
    } else if (!c.hex && c.space) {
        prefix = " ";
    }
    if (c.hex && c.alternate && value != 0) prefix = "0X";
    int padding = c.width - static_cast<int>(prefix.size() + digits.size());
    if (padding <= 0) return prefix + digits;
    if (c.left) return prefix + digits + std::string(padding, ' ');
    if (c.zero && c.precision < 0) return prefix + std::string(padding, '0') + digits;
    return std::string(padding, ' ') + prefix + digits;
}

// Nothing unless `format` holds exactly one accepted conversion.
std::optional<std::string> tryFormat(std::string_view format, long long value) {
    std::string out;
    bool converted = false;
    for (std::size_t i = 0; i < format.size();) {
        std::size_t n = charLength(format, i);
        if (n == 2 || format[i] != '%') {
            out.append(format.substr(i, n));
            i += n;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            i += 2;
            continue;
        }
        ++i;
        auto conversion = readConversion(format, i);
        if (!conversion || converted) return std::nullopt;
        out += render(*conversion, value);
        converted = true;
    }
    if (!converted) return std::nullopt;
    return out;
}

}  // namespace

std::string formatNumber(std::string_view format, long long value, std::string_view fallback) {
    if (auto text = tryFormat(format, value)) return *text;
    if (auto text = tryFormat(fallback, value)) return *text;
    return std::to_string(value);
}

}  // namespace zel
