#include "export/PrintIniFile.h"

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::size_t npos = std::string::npos;

// The name of a "[name]" line, or nothing.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmedView(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = findSingleByte(line, ']', 1);
    if (close == npos) return std::nullopt;
    return trimmedView(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
    line = trimmedView(line);
    return line.empty() || line.front() == ';' || line.front() == '#';
}

// The key of a "key=value" line; empty for any other line.
std::string_view keyOf(std::string_view line) {
    if (isComment(line)) return {};
    const std::size_t equals = findSingleByte(line, '=');
    if (equals == npos) return {};
    return trimmedView(line.substr(0, equals));
}

}  // namespace

PrintIniFile::PrintIniFile(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == npos) {
            lines_.push_back(Line{std::string(text.substr(start)), ""});
            break;
        }
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
        lines_.push_back(Line{std::string(text.substr(start, end - start)),
                              std::string(text.substr(end, next - end))});
        start = next;
    }
}

std::pair<std::size_t, std::size_t> PrintIniFile::sectionRange(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto name = sectionName(lines_[i].body);
        if (!name || !sameText(*name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !sectionName(lines_[end].body)) ++end;
        return {i, end};
    }
    return {npos, npos};
}

std::size_t PrintIniFile::keyLine(std::string_view section, std::string_view key) const {
    auto [head, end] = sectionRange(section);
    if (head == npos) return npos;
    for (std::size_t i = head + 1; i < end; ++i) {
        const std::string_view found = keyOf(lines_[i].body);
        if (!found.empty() && sameText(found, key)) return i;
    }
    return npos;
}

std::optional<std::string> PrintIniFile::value(std::string_view section,
                                               std::string_view key) const {
    const std::size_t at = keyLine(section, key);
    if (at == npos) return std::nullopt;
    const std::string& body = lines_[at].body;
    return body.substr(findSingleByte(body, '=') + 1);
}

void PrintIniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string body = std::string(key) + "=" + std::string(value);
    const std::size_t at = keyLine(section, key);
    if (at != npos) {
        lines_[at].body = body;
        return;
    }
    // Whatever follows is pushed down, so the line before must end.
    auto endLine = [&](std::size_t before) {
        if (before < lines_.size() && lines_[before].ending.empty()) lines_[before].ending = "\r\n";
    };
    auto [head, end] = sectionRange(section);
    if (head == npos) {
        if (!lines_.empty()) endLine(lines_.size() - 1);
        lines_.push_back(Line{"[" + std::string(section) + "]", "\r\n"});
        lines_.push_back(Line{body, "\r\n"});
        return;
    }
    // After the section's last key, before the blank lines that part it from
    // the next section.
    std::size_t insert = end;
    while (insert > head + 1 && trimmedView(lines_[insert - 1].body).empty()) --insert;
    endLine(insert - 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), Line{body, "\r\n"});
}

bool PrintIniFile::remove(std::string_view section, std::string_view key) {
    const std::size_t at = keyLine(section, key);
    if (at == npos) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

std::vector<std::string> PrintIniFile::keys(std::string_view section) const {
    std::vector<std::string> found;
    auto [head, end] = sectionRange(section);
    if (head == npos) return found;
    for (std::size_t i = head + 1; i < end; ++i) {
        std::string_view key = keyOf(lines_[i].body);
        if (!key.empty()) found.emplace_back(key);
    }
    return found;
}

std::string PrintIniFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.body;
        out += line.ending;
    }
    return out;
}

}  // namespace zel
