#include "mail/ReceivedMail.h"

#include "formats/Base64.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::size_t kMaxHeaderText = 256;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// At most `most` bytes of `text`, never half a double-byte character.
std::string cutToCharacters(std::string_view text, std::size_t most) {
    if (text.size() <= most) return std::string(text);
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t next = pos + charLength(text, pos);
        if (next > most) break;
        pos = next;
    }
    return std::string(text.substr(0, pos));
}

// The text after "Key: " of a line whose first word is "KEY:" in any case.
bool headerValue(std::string_view line, std::string_view upperKey, std::string& value) {
    std::size_t blank = line.find(' ');
    std::string_view word = line.substr(0, blank);
    if (word.size() != upperKey.size() || upperText(word) != upperKey) return false;
    value = blank == std::string_view::npos ? std::string() : std::string(line.substr(blank + 1));
    return true;
}

// A header field's value, whatever the spacing after the colon: the last line
// of that name wins, as it does for subject and sender.
std::string fieldValue(const std::vector<std::string>& header, std::string_view lowerKey) {
    std::string value;
    for (const auto& line : header) {
        std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        if (lowerText(trimmedView(std::string_view(line).substr(0, colon))) == lowerKey)
            value = std::string(trimmedView(std::string_view(line).substr(colon + 1)));
    }
    return value;
}

// The value of parameter `name` (lower case) in a header value:
// `name="quoted"` or `name=token`.
bool parameter(std::string_view text, std::string_view name, std::string& value) {
    const std::string lower = lowerText(text);
    std::size_t at = 0;
    bool found = false;
    while ((at = lower.find(name, at)) != std::string::npos) {
        const std::size_t end = at + name.size();
        // Only a whole parameter name: "filename" is not "name".
        const bool starts = at == 0 || lower[at - 1] == ';' || isBlank(lower[at - 1]);
        std::size_t eq = end;
        while (eq < lower.size() && isBlank(lower[eq])) ++eq;
        if (!starts || eq >= lower.size() || lower[eq] != '=') {
            at = end;
            continue;
        }
        std::size_t begin = eq + 1;
        while (begin < text.size() && isBlank(text[begin])) ++begin;
        if (begin < text.size() && text[begin] == '"') {
            std::size_t close = text.find('"', begin + 1);
            value = std::string(text.substr(begin + 1, close == std::string_view::npos
                                                           ? std::string_view::npos
                                                           : close - begin - 1));
        } else {
            std::size_t close = text.find_first_of("; \t", begin);
            value = std::string(text.substr(
                begin, close == std::string_view::npos ? std::string_view::npos : close - begin));
        }
        found = true;
        at = end;
    }
    return found;
}

std::size_t headerEnd(const std::vector<std::string>& lines, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i)
        if (lines[i].empty()) return i;
    return end;
}

}  // namespace

std::vector<std::string> unfoldHeader(const std::vector<std::string>& lines, std::size_t end) {
    std::vector<std::string> header;
    for (std::size_t i = 0; i < end && i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!header.empty() && !line.empty() && isBlank(line[0]))
            header.back() += line;
        else
            header.push_back(line);
    }
    return header;
}

ReceivedMessage readReceivedMessage(std::vector<std::string>&& lines) {
    ReceivedMessage message;
    const std::size_t split = headerEnd(lines, 0, lines.size());
    const std::vector<std::string> header = unfoldHeader(lines, split);
    for (const auto& line : header) {
        std::string value;
        if (headerValue(line, "SUBJECT:", value))
            message.subject = cutToCharacters(value, kMaxHeaderText);
        else if (headerValue(line, "FROM:", value))
            message.sender = cutToCharacters(value, kMaxHeaderText);
    }
    const std::size_t textBegin = split < lines.size() ? split + 1 : lines.size();
    const std::string contentType = fieldValue(header, "content-type");
    std::string boundary;
    if (lowerText(contentType).find("multipart") == std::string::npos ||
        !parameter(contentType, "boundary", boundary) || boundary.empty()) {
        message.body.assign(std::make_move_iterator(lines.begin() + textBegin),
                            std::make_move_iterator(lines.end()));
        return message;
    }

    // The parts: between "--boundary" lines, up to "--boundary--".
    const std::string delimiter = "--" + boundary;
    std::vector<std::pair<std::size_t, std::size_t>> parts;
    std::size_t partBegin = std::string::npos;
    for (std::size_t i = textBegin; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (!line.starts_with(delimiter)) continue;
        std::string_view after = trimmedView(line.substr(delimiter.size()));
        if (!after.empty() && after != "--") continue;
        if (partBegin != std::string::npos) parts.emplace_back(partBegin, i);
        partBegin = i + 1;
        if (after == "--") {
            partBegin = std::string::npos;
            break;
        }
    }
    // A message cut off before its closing delimiter keeps its last part.
    if (partBegin != std::string::npos) parts.emplace_back(partBegin, lines.size());

    std::string name = "text.tmp";
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const auto [begin, end] = parts[p];
        const std::size_t partSplit = headerEnd(lines, begin, end);
        std::vector<std::string> partHeader(lines.begin() + begin, lines.begin() + partSplit);
        partHeader = unfoldHeader(partHeader, partHeader.size());
        for (const auto& line : partHeader) {
            std::string value;
            if (parameter(line, "filename", value) || parameter(line, "name", value)) {
                if (!value.empty()) name = value;
            }
        }
        const std::size_t contentBegin = partSplit < end ? partSplit + 1 : end;
        if (p == 0) {
            message.body.assign(std::make_move_iterator(lines.begin() + contentBegin),
                                std::make_move_iterator(lines.begin() + end));
            continue;
        }
        if (contentBegin >= end) continue;
        MailAttachment attachment;
        attachment.name = name;
        attachment.transferEncoding = fieldValue(partHeader, "content-transfer-encoding");
        attachment.lines.assign(std::make_move_iterator(lines.begin() + contentBegin),
                                std::make_move_iterator(lines.begin() + end));
        message.attachments.push_back(std::move(attachment));
    }
    return message;
}

std::string decodeUuencoded(const std::vector<std::string>& lines) {
    std::string out;
    std::size_t i = 0;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].starts_with("begin ")) {
            i = k + 1;
            break;
        }
    }
    auto value = [](char c) { return static_cast<unsigned>((c - ' ') & 0x3F); };
    for (; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.starts_with("end")) break;
        if (line.empty()) continue;
        std::size_t count = value(line[0]);
        if (count == 0) continue;
        std::size_t pos = 1;
        std::size_t written = 0;
        while (written < count && pos < line.size()) {
            unsigned a = value(line[pos]);
            unsigned b = pos + 1 < line.size() ? value(line[pos + 1]) : 0;
            unsigned c = pos + 2 < line.size() ? value(line[pos + 2]) : 0;
            unsigned d = pos + 3 < line.size() ? value(line[pos + 3]) : 0;
            const unsigned char bytes[3] = {static_cast<unsigned char>((a << 2) | (b >> 4)),
                                            static_cast<unsigned char>((b << 4) | (c >> 2)),
                                            static_cast<unsigned char>((c << 6) | d)};
            for (int j = 0; j < 3 && written < count; ++j, ++written)
                out += static_cast<char>(bytes[j]);
            pos += 4;
        }
    }
    return out;
}

std::string attachmentBytes(const MailAttachment& attachment) {
    const std::string encoding = lowerText(attachment.transferEncoding);
    std::string bytes;
    if (encoding.find("base64") != std::string::npos) {
        for (const auto& line : attachment.lines) decodeBase64Line(trimmedView(line), bytes);
        return bytes;
    }
    if (encoding.find("x-uuencode") != std::string::npos) return decodeUuencoded(attachment.lines);
    std::size_t size = 0;
    for (const auto& line : attachment.lines) size += line.size() + 2;
    bytes.reserve(size);
    for (const auto& line : attachment.lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

}  // namespace zel
