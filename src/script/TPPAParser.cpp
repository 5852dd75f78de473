#include "script/TPPAParser.h"

#include <charconv>
#include <cmath>

namespace zel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
char upperByte(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
bool isBlank(char c) {
    auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    return upperByte(c) - 'A' + 10;
}

// Up to sixteen hexadecimal digits as a 64-bit pattern.
bool readHex(std::string_view digits, std::int64_t& value) {
    if (digits.empty() || digits.size() > 16) return false;
    std::uint64_t v = 0;
    for (char c : digits) {
        if (!isHexDigit(c)) return false;
        v = (v << 4) | static_cast<std::uint64_t>(hexValue(c));
    }
    value = static_cast<std::int64_t>(v);
    return true;
}

bool readDecimal(std::string_view digits, bool negative, std::int64_t& value) {
    if (digits.empty()) return false;
    std::uint64_t v = 0;
    const std::uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
    for (char c : digits) {
        if (!isDigit(c)) return false;
        auto d = static_cast<std::uint64_t>(c - '0');
        if (v > (limit - d) / 10) return false;
        v = v * 10 + d;
    }
    value = negative ? static_cast<std::int64_t>(0 - v) : static_cast<std::int64_t>(v);
    return true;
}

}  // namespace

TPPAParser::TPPAParser(std::string_view text) {
    reset(text);
}

void TPPAParser::reset(std::string_view text) {
    std::size_t nul = text.find('\0');
    text_.assign(text.substr(0, nul));
    start_ = end_ = 0;
    kind_ = TokenKind::End;
}

void TPPAParser::next() {
    const std::size_t size = text_.size();
    std::size_t p = end_;
    while (p < size && isBlank(text_[p])) ++p;
    start_ = p;
    auto at = [&](std::size_t i) { return i < size ? text_[i] : '\0'; };
    auto finish = [&](std::size_t e, TokenKind k) {
        end_ = e;
        kind_ = k;
    };
    if (p >= size) return finish(p, TokenKind::End);
    const char c = text_[p];
    if (c == '/' && at(p + 1) == '/') {
        std::size_t e = p + 2;
        while (e < size && text_[e] != '\r' && text_[e] != '\n') ++e;
        return finish(e, TokenKind::Comment);
    }
    if (c == '\'') {
        std::size_t e = p + 1;
        while (e < size) {
            if (text_[e] == '\'') {
                if (at(e + 1) == '\'') {
                    e += 2;
                    continue;
                }
                ++e;
                return finish(e, TokenKind::String);
            }
            ++e;
        }
        return finish(e, TokenKind::String);
    }
    if (c == '$') {
        std::size_t e = p + 1;
        while (isHexDigit(at(e))) ++e;
        return finish(e, TokenKind::Integer);
    }
    if (c == '#') {
        std::size_t e = p + 1;
        if (at(e) == '$') {
            ++e;
            while (isHexDigit(at(e))) ++e;
        } else {
            while (isDigit(at(e))) ++e;
        }
        return finish(e, TokenKind::CharCode);
    }
    const char d = at(p + 1);
    if ((c == ':' && d == '=') || (c == '<' && (d == '=' || d == '>')) || (c == '>' && d == '=') ||
        (c == '.' && d == '.'))
        return finish(p + 2, TokenKind::Operator);
    if (isDigit(c)) {
        std::size_t e = p;
        while (isDigit(at(e))) ++e;
        auto exponent = [&](std::size_t i) {
            ++i;  // the E
            if (at(i) == '+' || at(i) == '-') ++i;
            while (isDigit(at(i))) ++i;
            return i;
        };
        if (at(e) == '.') {
            const char after = at(e + 1);
            if (isDigit(after) || after == 'E' || after == 'e') {
                e += 1;
                while (isDigit(at(e))) ++e;
                if (at(e) == 'E' || at(e) == 'e') e = exponent(e);
                return finish(e, TokenKind::Real);
            }
            // "1..5" and "5." end the number before the "."
            return finish(e, TokenKind::Real);
        }
        if (at(e) == 'E' || at(e) == 'e') return finish(exponent(e), TokenKind::Real);
        return finish(e, TokenKind::Integer);
    }
    if (isLetter(c)) {
        std::size_t e = p + 1;
        while (isLetter(at(e)) || isDigit(at(e))) ++e;
        return finish(e, TokenKind::Identifier);
    }
    return finish(p + 1, TokenKind::Symbol);
}

bool TPPAParser::accept(std::string_view name) {
    if (kind_ == TokenKind::End || !sameWord(token(), name)) return false;
    next();
    return true;
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperByte(a[i]) != upperByte(b[i])) return false;
    return true;
}

std::string upperWord(std::string_view word) {
    std::string upper(word);
    for (char& c : upper) c = upperByte(c);
    return upper;
}

std::int64_t integerLiteralValue(std::string_view token) {
    std::int64_t value = 0;
    bool ok = !token.empty() && token[0] == '$' ? readHex(token.substr(1), value)
                                                : readDecimal(token, false, value);
    return ok ? value : 0;
}

double realLiteralValue(std::string_view token) {
    double value = 0;
    return readScriptReal(token, value) ? value : 0.0;
}

std::string stringLiteralValue(TokenKind kind, std::string_view token) {
    if (kind == TokenKind::CharCode) {
        // Up to three characters after "#$" (hexadecimal) or "#" (decimal).
        std::int64_t code = -1;
        bool ok = false;
        if (token.size() >= 2 && token[1] == '$') {
            ok = readHex(token.substr(2, 3), code);
        } else {
            ok = readDecimal(token.substr(1, 3), false, code);
        }
        if (!ok || code < 0 || code > 255) return {};
        return std::string(1, static_cast<char>(code));
    }
    std::string_view body = token;
    if (body.size() >= 2 && body.front() == '\'' && body.back() == '\'')
        body = body.substr(1, body.size() - 2);
    std::string value;
    value.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        value += body[i];
        if (body[i] == '\'' && i + 1 < body.size() && body[i + 1] == '\'') ++i;
    }
    return value;
}

bool readScriptInteger(std::string_view text, std::int64_t& value) {
    std::size_t p = 0;
    while (p < text.size() && text[p] == ' ') ++p;
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
    std::string_view rest = text.substr(p);
    if (!rest.empty() && rest[0] == '$') {
        std::int64_t v = 0;
        if (!readHex(rest.substr(1), v)) return false;
        value = negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(v)) : v;
        return true;
    }
    return readDecimal(rest, negative, value);
}

bool readScriptReal(std::string_view text, double& value) {
    std::size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    std::string_view number = text.substr(b, e - b);
    bool negative = false;
    if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    // Only digits, one ".", and an exponent: no "inf", "nan" or hexadecimal.
    if (number.empty() || !(isDigit(number[0]) || number[0] == '.')) return false;
    for (char c : number)
        if (!(isDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-')) return false;
    double v = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), v,
                                        std::chars_format::general);
    if (error != std::errc() || end != number.data() + number.size() || !std::isfinite(v))
        return false;
    value = negative ? -v : v;
    return true;
}

}  // namespace zel
