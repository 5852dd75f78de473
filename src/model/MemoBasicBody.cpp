// Attaching files and web resources to a record, and writing its body out.

#include <array>
#include <cstdint>
#include <exception>

#include "formats/TContent.h"
#include "model/MemoBasic.h"
#include "model/RecordText.h"
#include "object/Report.h"
#include "platform/Downloader.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

struct BodyKind {
    const char* type;
    const char* encoding;
    bool inStream;  // the bytes go to the content stream, else the memo lines
};

struct ExtensionKind {
    const char* extension;
    BodyKind kind;
};

constexpr BodyKind kJpeg{"image/jpeg", "binary", true};
constexpr BodyKind kPlain{"text/plan", "8bit", false};
constexpr BodyKind kPoser{"text/plan", "Poser", false};
constexpr BodyKind kHtml{"text/html", "8bit", false};
constexpr BodyKind kOther{"application/octet-stream", "binary", true};

// Stored files carry "text/plan" as it stands, so the spelling is kept.
constexpr std::array kExtensionKinds{
    ExtensionKind{".jpe", kJpeg},
    ExtensionKind{".jpg", kJpeg},
    ExtensionKind{".jpeg", kJpeg},
    ExtensionKind{".bmp", {"image/bmp", "binary", true}},
    ExtensionKind{".png", {"image/png", "binary", true}},
    ExtensionKind{".tif", {"image/tiff", "binary", true}},
    ExtensionKind{".gif", {"image/gif", "binary", true}},
    ExtensionKind{".ico", {"image/ico", "binary", true}},
    ExtensionKind{".txt", kPlain},
    ExtensionKind{".log", kPlain},
    ExtensionKind{".asm", kPlain},
    ExtensionKind{".awk", kPlain},
    ExtensionKind{".csh", kPlain},
    ExtensionKind{".sh", kPlain},
    ExtensionKind{".eml", kPlain},
    ExtensionKind{".el", kPlain},
    ExtensionKind{".lsp", kPlain},
    ExtensionKind{".lisp", kPlain},
    ExtensionKind{".ini", kPlain},
    ExtensionKind{".bat", kPlain},
    ExtensionKind{".wsh", kPlain},
    ExtensionKind{".pas", kPlain},
    ExtensionKind{".inc", kPlain},
    ExtensionKind{".pl", kPlain},
    ExtensionKind{".bas", kPlain},
    ExtensionKind{".c", kPlain},
    ExtensionKind{".cpp", kPlain},
    ExtensionKind{".h", kPlain},
    ExtensionKind{".py", kPlain},
    ExtensionKind{".rb", kPlain},
    ExtensionKind{".php", kPlain},
    ExtensionKind{".csv", kPlain},
    ExtensionKind{".cr2", kPoser},
    ExtensionKind{".lt2", kPoser},
    ExtensionKind{".pz3", kPoser},
    ExtensionKind{".pz2", kPoser},
    ExtensionKind{".pp2", kPoser},
    ExtensionKind{".hd2", kPoser},
    ExtensionKind{".fc2", kPoser},
    ExtensionKind{".tv", {"text/plan", "PoserLike", false}},
    ExtensionKind{".html", kHtml},
    ExtensionKind{".htm", kHtml},
    ExtensionKind{".shtml", kHtml},
    ExtensionKind{".shtm", kHtml},
    ExtensionKind{".phtml", kHtml},
    ExtensionKind{".phtm", kHtml},
    ExtensionKind{".xml", {"text/xml", "8bit", false}},
    ExtensionKind{".css", {"text/css", "8bit", false}},
    ExtensionKind{".js", {"text/javascript", "8bit", false}},
    ExtensionKind{".java", {"text/x-java-source", "8bit", false}},
    ExtensionKind{".tex", {"application/x-tex", "8bit", false}},
};

BodyKind kindOfExtension(std::string_view lowerExtension) {
    for (const auto& entry : kExtensionKinds) {
        if (lowerExtension == entry.extension) return entry.kind;
    }
    return kOther;
}

// A 24-bit bottom-up BMP of one colour.
std::string solidBitmap(int width, int height, unsigned char red, unsigned char green,
                        unsigned char blue) {
    const std::uint32_t rowSize = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t pixelBytes = rowSize * static_cast<std::uint32_t>(height);
    const std::uint32_t headerBytes = 14 + 40;
    std::string bmp;
    bmp.reserve(headerBytes + pixelBytes);
    auto put16 = [&bmp](std::uint32_t v) {
        bmp += static_cast<char>(v & 0xFF);
        bmp += static_cast<char>((v >> 8) & 0xFF);
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    bmp += "BM";
    put32(headerBytes + pixelBytes);
    put32(0);
    put32(headerBytes);
    put32(40);
    put32(static_cast<std::uint32_t>(width));
    put32(static_cast<std::uint32_t>(height));
    put16(1);   // planes
    put16(24);  // bits per pixel
    put32(0);   // no compression
    put32(pixelBytes);
    put32(2835);  // 72 dots per inch
    put32(2835);
    put32(0);
    put32(0);
    std::string row;
    for (int x = 0; x < width; ++x)
        row += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
    row.resize(rowSize, '\0');
    for (int y = 0; y < height; ++y) bmp += row;
    return bmp;
}

std::string urlPage(std::string_view title, std::string_view rawFilename) {
    std::string page;
    auto line = [&page](std::string_view text) { page.append(text).append("\r\n"); };
    line("<!doctype html public \"-//w3c//dtd html 4.0 transitional//en\">");
    line("<html>");
    line("  <head>");
    line("    <meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
    line("    <meta name=\"GENERATOR\" content=\"zel.exe\">");
    line("    <title>" + std::string(title) + "</title>");
    line("  </head>");
    line("  <body>");
    line("    <a href=" + std::string(rawFilename) + " >");
    line("      " + std::string(title));
    line("    </a>");
    line("  </body>");
    line("</html>");
    return page;
}

long long writeBody(const MemoBasic::BodyWriter& write, std::string_view path,
                    std::string_view bytes) {
    if (!write(path, bytes)) return -1;
    return static_cast<long long>(bytes.size());
}

}  // namespace

int MemoBasic::setFile_(std::string_view source, std::string_view displayName) {
    const std::string recordedName(displayName.empty() ? source : displayName);
    if (isWebAddress(source)) {
        const std::string local = getTempDir_() + urlToFileName(source);
        if (!downloader().download(source, local).ok()) return -2;
        return loadLocalFile(local, recordedName);
    }
    if (lowerText(source.substr(0, 5)) == "file:") {
        report("Still Not Implimented. ");
        return -1;
    }
    if (!fileExists(source)) return -1;
    return loadLocalFile(std::string(source), recordedName);
}

int MemoBasic::loadLocalFile(const std::string& path, std::string_view recordedName) {
    const BodyKind kind = kindOfExtension(lowerText(extensionOf(path)));
    // The body is read aside and swapped in only when the whole read
    // succeeded, so a failure leaves the record as it was.
    try {
        if (kind.inStream) {
            auto body = std::make_unique<TContent>();
            if (body->loadFile(path) != 0) return -2;
            body->contentType = kind.type;
            body->transferEncoding = kind.encoding;
            content = std::move(body);
        } else {
            std::string bytes;
            if (!readFile(path, bytes)) return -2;
            memo = textLines(bytes);
        }
    } catch (const std::exception&) {  // a body too large for memory
        return -2;
    }
    putField_("Content-Type", wrapQuotes(kind.type));
    putField_("Filename", wrapQuotes(recordedName));
    putField_("Content-Transfer-Encoding", wrapQuotes(kind.encoding));
    return 0;
}

long long MemoBasic::saveBody_(std::string_view path) {
    return saveBodyWith_(path, [](std::string_view target, std::string_view bytes) {
        return writeFileSafely(target, bytes).ok;
    });
}

long long MemoBasic::saveBodyWith_(std::string_view path, const BodyWriter& write) {
    const std::string_view encoding = fields.value("Content-Transfer-Encoding");
    const bool zTarget = lowerText(extensionOf(path)) == ".z";
    const bool zSource =
        zTarget && lowerText(extensionOf(unquotedView(fields.value("Filename")))) == ".z";

    const std::string directory(folderOf(path));
    if (!directory.empty() && !dirExists(directory)) {
        makeDirs(directory);
        if (!dirExists(directory)) return -1;
    }
    if (encoding == "\"binary\"") {
        if (!content || !content->stream || (zTarget && !zSource)) return -2;
        return writeBody(write, path, *content->stream);
    }
    if (encoding == "\"URL\"") {
        std::string title;
        appendEscapedMarkup(title, getName_());
        return writeBody(write, path, urlPage(title, fields.value("Filename")));
    }
    // A body is never written uncompressed under a ".z" name unless the
    // record's own file is a ".z" file.
    if (zTarget && !zSource) return -1;
    return writeBody(write, path, linesText(memo));
}

long long MemoBasic::setBlankImage_() {
    auto body = std::make_unique<TContent>();
    body->stream = solidBitmap(30, 30, 0xFF, 0xFF, 0xFF);
    body->contentType = "image/bmp";
    body->transferEncoding = "8bit";
    const auto size = static_cast<long long>(body->stream->size());
    content = std::move(body);
    putField_("Content-Transfer-Encoding", "\"binary\"");
    putField_("Content-Type", "\"image/bmp\"");
    return size;
}

}  // namespace zel
