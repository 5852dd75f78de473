#include "text/LineList.h"

#include <algorithm>
#include <unordered_map>

#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

Lines textLines(std::string_view text) {
    Lines lines;
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

std::string linesText(const Lines& lines) {
    std::size_t length = 0;
    for (const auto& line : lines) length += line.size() + 2;
    std::string text;
    text.reserve(length);
    for (const auto& line : lines) text.append(line).append("\r\n");
    return text;
}

namespace {

constexpr int kMaxBytesPerLine = 256;

void appendHex(std::string& out, unsigned long long value, int digits) {
    constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kDigits[(value >> shift) & 0xF];
}

std::string hexDumpLine(std::string_view group, std::size_t offset) {
    unsigned sum = 0;
    for (char c : group) sum += static_cast<unsigned char>(c);
    std::string line;
    line.reserve(14 + group.size() * 3);
    appendHex(line, offset, 10);
    line += ':';
    appendHex(line, sum % 256, 2);
    line += ':';
    for (char c : group) {
        appendHex(line, static_cast<unsigned char>(c), 2);
        line += ' ';
    }
    return line;
}

}  // namespace

std::size_t removeBlankLines(Lines& lines) {
    auto kept = std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return trimText(line).empty(); });
    std::size_t removed = lines.end() - kept;
    lines.erase(kept, lines.end());
    return removed;
}

std::size_t trimLines(Lines& lines) {
    for (auto& line : lines) line = trimText(line);
    return lines.size();
}

std::size_t appendToLines(Lines& lines, std::string_view suffix) {
    for (auto& line : lines) line.append(suffix);
    return lines.size();
}

std::size_t prefixLines(Lines& lines, std::string_view prefix, bool skipEmpty) {
    for (auto& line : lines) {
        if (!(skipEmpty && line.empty())) line.insert(0, prefix);
    }
    return lines.size();
}

void cutLineHeads(Lines& lines, long long count) {
    if (count < 1) return;
    for (auto& line : lines) line = cutFirstChars(line, count);
}

void numberLines(Lines& lines, std::string_view format, long long start) {
    constexpr std::string_view kDefault = "%.8d:";
    if (trimText(format).empty()) format = kDefault;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lines[i].insert(0, formatNumber(format, start + static_cast<long long>(i), kDefault));
    }
}

void reverseLines(Lines& lines) {
    std::reverse(lines.begin(), lines.end());
}

void sortUnique(Lines& lines) {
    std::sort(lines.begin(), lines.end(),
              [](const std::string& a, const std::string& b) { return compareText(a, b) < 0; });
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

std::size_t markRepeats(Lines& lines) {
    std::size_t marked = 0;
    for (std::size_t i = lines.size(); i-- > 1;) {
        if (lines[i] == lines[i - 1]) {
            lines[i].insert(0, "* ");
            ++marked;
        }
    }
    return marked;
}

std::size_t appendLines(Lines& destination, const Lines& source) {
    std::size_t count = source.size();
    if (&destination == &source) {
        destination.reserve(count * 2);
        for (std::size_t i = 0; i < count; ++i) destination.push_back(destination[i]);
    } else {
        destination.insert(destination.end(), source.begin(), source.end());
    }
    return count;
}

std::size_t countInLines(const Lines& lines, std::string_view word) {
    std::string folded = lowerText(word);
    std::size_t total = 0;
    for (const auto& line : lines) total += countOccurrences(lowerText(line), folded);
    return total;
}

std::string uniqueName(std::string_view wanted,
                       const std::function<int(std::string_view)>& indexOf) {
    UniqueNameCursor fresh;
    return uniqueName(wanted, indexOf, fresh);
}

std::string uniqueName(std::string_view wanted, const std::function<int(std::string_view)>& indexOf,
                       UniqueNameCursor& cursor) {
    if (cursor.candidate.empty()) {
        int carrier = indexOf(wanted);
        if (carrier < 0) return std::string(wanted);
        cursor.candidate = containsDigit(wanted)
                               ? incrementDigits(wanted)
                               : std::string(wanted) + "_" + formatNumber("%.2d", carrier);
        cursor.tries = 0;
    }
    // Counting up a digit run cycles; after 100 tries the try count is the suffix.
    while (indexOf(cursor.candidate) >= 0) {
        cursor.candidate = incrementDigits(cursor.candidate);
        if (++cursor.tries >= 100)
            cursor.candidate = std::string(wanted) + "_" + formatNumber("%.2d", cursor.tries);
    }
    return cursor.candidate;
}

std::string uniqueNameInList(const Lines& lines, std::string_view wanted) {
    std::unordered_map<std::string, int> firstIndex;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        firstIndex.emplace(lowerText(lines[i]), static_cast<int>(i));
    }
    return uniqueName(wanted, [&](std::string_view name) {
        auto it = firstIndex.find(lowerText(name));
        return it == firstIndex.end() ? -1 : it->second;
    });
}

void csvToHTMLRows(const Lines& source, Lines& target) {
    for (const auto& line : source) {
        target.emplace_back("  <tr>");
        for (const auto& cell : splitText(line, ",")) {
            target.push_back("    <td>" + (cell.empty() ? std::string("&nbsp;") : cell) + "</td>");
        }
        target.emplace_back("  </tr>");
    }
}

void csvToHTMLPage(const Lines& source, Lines& target, std::string_view caption,
                   std::string_view generator) {
    target.emplace_back("<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">");
    target.emplace_back("<html>");
    target.emplace_back("<head>");
    target.emplace_back(
        "   <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
    target.push_back("   <meta name=\"GENERATOR\" content=\"" + std::string(generator) + "\">");
    target.emplace_back("</head>");
    target.emplace_back("<body>");
    target.emplace_back("<center><table BORDER >");
    target.push_back("<caption>" + std::string(caption) + "</caption>");
    csvToHTMLRows(source, target);
    target.emplace_back("</table></center>");
    target.emplace_back("</body>");
    target.emplace_back("</html>");
}

std::size_t hexDump(Lines& target, std::string_view body, int bytesPerLine) {
    const auto width = static_cast<std::size_t>(std::clamp(bytesPerLine, 1, kMaxBytesPerLine));
    target.push_back("#size=" + std::to_string(body.size()));
    std::string heading = "#Address :Sum:";
    for (std::size_t p = 0; p < width; ++p) {
        appendHex(heading, p, 2);
        heading += ' ';
    }
    target.push_back(std::move(heading));
    for (std::size_t offset = 0; offset < body.size(); offset += width) {
        target.push_back(hexDumpLine(body.substr(offset, width), offset));
    }
    return body.size();
}

}  // namespace zel
