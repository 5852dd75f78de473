#include "formats/TContent.h"

#include <cstdio>
#include <filesystem>

#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Real messages nest a few levels and carry a handful of parts. The bounds keep
// hostile input from exhausting the stack (parts are read recursively) or from
// making the unique part names quadratic: deeper multiparts are kept as text,
// parts beyond the budget are dropped like lines after the closing delimiter.
constexpr int kMaxNesting = 32;
constexpr std::size_t kMaxParts = 2048;

// Trimming removes every byte up to 0x20 (blanks and control characters).
constexpr std::string_view kBlankBytes(
    "\x00\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f"
    "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1a\x1b\x1c\x1d\x1e\x1f\x20",
    33);

bool isBlankLine(std::string_view line) {
    return line.find_first_not_of(kBlankBytes) == std::string_view::npos;
}

// The value of a MIME parameter that starts `text`: a quoted string without its
// quotes, or the text up to the next ";". The parameters after it do not belong
// to it (a real mail may write `boundary="b"; charset=x`).
std::string parameterValue(std::string_view text) {
    std::string value = trimText(text);
    if (!value.empty() && value.front() == '"') {
        std::size_t close = findSingleByte(value, '"', 1);
        return close == std::string::npos ? value.substr(1) : value.substr(1, close - 1);
    }
    std::size_t semicolon = findSingleByte(value, ';');
    return semicolon == std::string::npos ? value : trimText(value.substr(0, semicolon));
}

// The trimmed line equals the delimiter, or the delimiter and "--". Compared
// in place: no copy per body line, and no search that a long boundary could
// make quadratic.
bool isDelimiterLine(std::string_view line, std::string_view delimiter) {
    std::size_t first = line.find_first_not_of(kBlankBytes);
    if (first == std::string_view::npos) return false;
    std::string_view trimmed = line.substr(first, line.find_last_not_of(kBlankBytes) - first + 1);
    if (!trimmed.starts_with(delimiter)) return false;
    std::string_view after = trimmed.substr(delimiter.size());
    return after.empty() || after == "--";
}

}  // namespace

bool isMimeBlankLine(std::string_view line) {
    return isBlankLine(line);
}

bool isMimeDelimiterLine(std::string_view line, std::string_view delimiter) {
    return isDelimiterLine(line, delimiter);
}

void MimeHeader::readLine(std::string_view line) {
    std::size_t colon = findSingleByte(line, ':');
    if (colon == std::string_view::npos) return;
    std::string name = lowerText(line.substr(0, colon));
    std::string value = trimText(line.substr(colon + 1));
    if (name == "content-type") {
        std::size_t semicolon = findSingleByte(value, ';');
        if (semicolon == std::string::npos) {
            contentType = value;
            return;
        }
        contentType = lowerText(value.substr(0, semicolon));
        // The parameter name is found in any letter case, but the boundary
        // keeps its own: MIME boundaries are case-sensitive.
        std::string_view parameters = std::string_view(value).substr(semicolon + 1);
        std::size_t at = findOnBoundary(lowerText(parameters), "boundary=");
        if (contentType.starts_with("multipart") && at != std::string::npos)
            delimiter = "--" + parameterValue(parameters.substr(at + 9));
    } else if (name == "content-transfer-encoding") {
        transferEncoding = lowerText(value);
    } else if (name == "content-disposition") {
        std::size_t at = findOnBoundary(value, "filename=");
        if (at != std::string::npos)
            fileName = parameterValue(std::string_view(value).substr(at + 9));
    }
}

struct TContent::ParseState {
    int depth = 0;
    std::size_t partsLeft = kMaxParts;
};

TContent::TContent(TObjectNamed* owner_) : TObjectNamed(owner_) {
    TContent::clear_();
}

TContent::~TContent() = default;

int TContent::clear_() {
    if (parts) parts->clear_();
    return 0;
}

void TContent::copyFrom_(const TObjectNamed& source) {
    const auto* from = dynamic_cast<const TContent*>(&source);
    if (!from || from == this) return;
    fileName = from->fileName;
    stream = from->stream;
    if (from->parts)
        ensureParts().copyFrom_(*from->parts);
    else
        parts.reset();
    contentType = from->contentType;
    transferEncoding = from->transferEncoding;
}

TObjectParent& TContent::ensureParts() {
    if (!parts) parts = std::make_unique<TObjectParent>(this);
    return *parts;
}

TContent* TContent::partAt(std::size_t index) const {
    if (index >= partCount()) return nullptr;
    return dynamic_cast<TContent*>(parts->childAt(index));
}

int TContent::loadFile(const std::string& path) {
    try {
        std::string native = sjisToUtf8(path);
        std::error_code error;
        if (!std::filesystem::exists(native, error)) return 255;
        std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(native.c_str(), "rb"),
                                                             &std::fclose);
        if (!file) return 254;
        std::string bytes;
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
            bytes.append(buffer, got);
        if (std::ferror(file.get())) return 254;
        stream = std::move(bytes);
        fileName = path;
        return 0;
    } catch (const std::exception&) {
        return 254;
    }
}

void TContent::parse(const std::vector<std::string>& lines) {
    ParseState state;
    parseRange(lines, 0, lines.size(), state);
}

void TContent::resetForParse() {
    clear_();
    fileName.clear();
    stream.reset();
    contentType.clear();
    transferEncoding.clear();
}

void TContent::parseRange(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                          ParseState& state) {
    resetForParse();
    std::size_t i = begin;
    while (i < end && isBlankLine(lines[i])) ++i;

    // A line that begins with a blank or a tab continues the one before it.
    std::vector<std::string> header;
    for (; i < end && !isBlankLine(lines[i]); ++i) {
        const std::string& line = lines[i];
        if (!header.empty() && (line.front() == ' ' || line.front() == '\t'))
            header.back() += line;
        else
            header.push_back(line);
    }
    std::size_t bodyStart = i < end ? i + 1 : end;

    std::string delimiter;
    for (const auto& line : header) readHeaderLine(line, delimiter);

    if (!contentType.starts_with("multipart")) {
        readSingleBody(lines, bodyStart, end);
    } else if (!delimiter.empty()) {
        if (state.depth < kMaxNesting)
            readMultipartBody(lines, bodyStart, end, delimiter, state);
        else
            readSingleBody(lines, bodyStart, end);
    }
}

void TContent::readHeaderLine(std::string_view line, std::string& delimiter) {
    MimeHeader header{std::move(contentType), std::move(transferEncoding), std::move(fileName),
                      std::move(delimiter)};
    header.readLine(line);
    contentType = std::move(header.contentType);
    transferEncoding = std::move(header.transferEncoding);
    fileName = std::move(header.fileName);
    delimiter = std::move(header.delimiter);
}

void TContent::readSingleBody(const std::vector<std::string>& lines, std::size_t begin,
                              std::size_t end) {
    std::size_t size = 0;
    for (std::size_t i = begin; i < end; ++i) size += lines[i].size() + 2;
    stream.emplace();
    if (transferEncoding == "base64") {
        stream->reserve(size / 4 * 3);
        for (std::size_t i = begin; i < end; ++i) decodeBase64Line(lines[i], *stream);
        transferEncoding = "binary";
        return;
    }
    stream->reserve(size);
    for (std::size_t i = begin; i < end; ++i) {
        *stream += lines[i];
        *stream += "\r\n";
    }
}

void TContent::readMultipartBody(const std::vector<std::string>& lines, std::size_t begin,
                                 std::size_t end, const std::string& delimiter, ParseState& state) {
    TObjectParent& list = ensureParts();
    bool collecting = false;
    std::size_t partStart = begin;
    for (std::size_t i = begin; i < end && state.partsLeft > 0; ++i) {
        if (!isDelimiterLine(lines[i], delimiter)) continue;
        if (collecting) {
            --state.partsLeft;
            auto part = std::make_unique<TContent>(&list);
            ++state.depth;
            part->parseRange(lines, partStart, i, state);
            --state.depth;
            std::string name = trimText(part->fileName);
            if (name.empty()) name = part->contentType;
            if (name.empty()) name = "text/plain";
            list.addChild_(std::move(part), name);
        }
        collecting = true;
        partStart = i + 1;
    }
}

}  // namespace zel
