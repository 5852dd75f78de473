#include "model/RecordText.h"

#include "text/TextHelpers.h"

namespace zel {

namespace {

// & < > and " are below 0x40, so none of them can be the second byte of a
// double-byte character and a plain byte scan finds exactly the characters.
bool needsEscape(std::string_view text) {
    return text.find_first_of("&<>\"") != std::string_view::npos;
}

}  // namespace

std::string_view trimmedView(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
    while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
    return text.substr(begin, end - begin);
}

std::string_view unquotedView(std::string_view text) {
    if (text.empty() || text.front() != '"') return text;
    text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return text;
}

void appendEscapedMarkup(std::string& out, std::string_view text) {
    if (needsEscape(text))
        out += escapeMarkup(text);
    else
        out.append(text);
}

void appendBrokenMarkupLines(const std::vector<std::string>& source,
                             std::vector<std::string>& lines) {
    for (const std::string& line : source) {
        std::string out;
        out.reserve(line.size() + 5);
        appendEscapedMarkup(out, line);
        out += "<BR/>";
        lines.push_back(std::move(out));
    }
}

std::string_view extensionOf(std::string_view path) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
        return {};
    return path.substr(dot);
}

std::string_view folderOf(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start =
            end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string linesText(const std::vector<std::string>& lines) {
    std::size_t length = 0;
    for (const auto& line : lines) length += line.size() + 2;
    std::string text;
    text.reserve(length);
    for (const auto& line : lines) text.append(line).append("\r\n");
    return text;
}

}  // namespace zel
