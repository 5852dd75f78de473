#include "platform/DesktopEntry.h"

namespace zel {

namespace {

constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
constexpr std::string_view kEscapedInQuotes = "\"`$\\";

bool unreadableControl(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n') || c == 0x7F;
}

std::string quotedArgument(std::string_view argument) {
    std::string word;
    const bool quote =
        argument.empty() || argument.find_first_of(kReserved) != std::string_view::npos;
    if (quote) word += '"';
    for (char c : argument) {
        if (quote && kEscapedInQuotes.find(c) != std::string_view::npos) word += '\\';
        if (c == '%') word += '%';
        word += c;
    }
    if (quote) word += '"';
    return word;
}

std::string unescapedString(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            text += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                text += ' ';
                break;
            case 'n':
                text += '\n';
                break;
            case 't':
                text += '\t';
                break;
            case 'r':
                text += '\r';
                break;
            case '\\':
                text += '\\';
                break;
            // An escape the format does not know stays as written.
            default:
                text += '\\';
                text += value[i];
        }
    }
    return text;
}

bool isFieldCode(std::string_view word) {
    return word.size() == 2 && word[0] == '%' &&
           std::string_view("fFuUdDnNickvm").find(word[1]) != std::string_view::npos;
}

}  // namespace

bool isUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
        if (c < 0x80) {
            extra = 0;
        } else if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0) low = 0xA0;   // no overlong forms
            if (c == 0xED) high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (bytes.size() - i <= extra) return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (k == 1 ? next < low || next > high : (next & 0xC0) != 0x80) return false;
        }
        i += extra + 1;
    }
    return true;
}

std::optional<std::string> desktopExecLine(const std::vector<std::string>& arguments,
                                           std::string_view fieldCodes) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!isUtf8(argument)) return std::nullopt;
        for (char c : argument)
            if (unreadableControl(static_cast<unsigned char>(c))) return std::nullopt;
        if (!line.empty()) line += ' ';
        line += quotedArgument(argument);
    }
    if (!fieldCodes.empty()) {
        if (!line.empty()) line += ' ';
        line += fieldCodes;
    }
    return desktopStringValue(line);
}

std::vector<std::string> desktopExecArguments(std::string_view value) {
    const std::string line = unescapedString(value);
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    auto finish = [&] {
        if (inWord && (quoted || !isFieldCode(word))) words.push_back(word);
        word.clear();
        inWord = false;
        quoted = false;
    };
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            finish();
            continue;
        }
        inWord = true;
        if (c == '"') {
            quoted = true;
            for (++i; i < line.size() && line[i] != '"'; ++i) {
                if (line[i] == '\\' && i + 1 < line.size() &&
                    kEscapedInQuotes.find(line[i + 1]) != std::string_view::npos)
                    ++i;
                else if (line[i] == '%' && i + 1 < line.size() && line[i + 1] == '%')
                    ++i;
                word += line[i];
            }
        } else if (c == '%' && i + 1 < line.size() && line[i + 1] == '%') {
            word += '%';
            ++i;
        } else {
            word += c;
        }
    }
    finish();
    return words;
}

std::string desktopStringValue(std::string_view text) {
    std::string value;
    value.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\\':
                value += "\\\\";
                break;
            case '\n':
                value += "\\n";
                break;
            case '\t':
                value += "\\t";
                break;
            case '\r':
                value += "\\r";
                break;
            default:
                value += c;
        }
    }
    return value;
}

std::optional<std::string> desktopEntryValue(std::string_view text, std::string_view key) {
    bool inMainGroup = false;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = end + 1;
        if (line.starts_with('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.starts_with('#')) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view name = line.substr(0, equals);
        while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
        if (name != key) continue;
        std::string_view found = line.substr(equals + 1);
        while (!found.empty() && found.front() == ' ') found.remove_prefix(1);
        return std::string(found);
    }
    return std::nullopt;
}

}  // namespace zel
