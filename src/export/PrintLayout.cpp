#include "export/PrintLayout.h"

#include <algorithm>

#include "text/Sjis.h"

namespace zel {

namespace {

constexpr int kProgressStep = 50;

int decimalDigits(long long value) {
    int digits = 1;
    while (value >= 10) {
        value /= 10;
        ++digits;
    }
    return digits;
}

enum class ByteClass : unsigned char { Lead, Trail, Single, Blank };

// The title after its last "\" or ":" that is a character of its own (the
// second byte of a double-byte character is never a separator).
std::string_view titleTail(std::string_view title) {
    std::size_t after = 0;
    for (std::size_t i = 0; i < title.size(); i += charLength(title, i))
        if (title[i] == '\\' || title[i] == ':') after = i + 1;
    return title.substr(after);
}

class PageMaker {
  public:
    PageMaker(const PrintSettings& settings, const PrintMetrics& metrics, const DateTime& now,
              PrintDocument& document)
        : settings_(settings),
          metrics_(metrics),
          now_(now),
          document_(document),
          frame_(document.frame) {}

    void openPage(int number) {
        document_.pages.push_back(PrintPage{number, {}});
        if (frame_.bodyTop > frame_.textTop)
            band(RunKind::Header, settings_.header(), settings_.headerAlign(), frame_.textTop);
    }

    void closePage() {
        if (frame_.bodyBottom < frame_.textBottom)
            band(RunKind::Footer, settings_.footer(), settings_.footerAlign(), frame_.bodyBottom);
    }

    void run(RunKind kind, int x, int y, std::string_view text) {
        document_.pages.back().runs.push_back(PrintRun{kind, x, y, std::string(text)});
    }

  private:
    void band(RunKind kind, const std::string& text, HeaderAlign align, int y) {
        const std::string shown =
            expandPrintKeywords(text, document_.pages.back().number, settings_.fileName(), now_);
        const int width = metrics_.textWidth(shown);
        int x = frame_.textLeft;
        if (align == haCenter)
            x = frame_.textLeft + (frame_.textRight - frame_.textLeft - width) / 2;
        if (align == haRight) x = frame_.textRight - width;
        run(kind, x, y, shown);
    }

    const PrintSettings& settings_;
    const PrintMetrics& metrics_;
    const DateTime& now_;
    PrintDocument& document_;
    const PageFrame& frame_;
};

}  // namespace

int PrintMetrics::textWidth(std::string_view text) const {
    int width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLength(text, i);
        width += charWidth(text.substr(i, length));
        i += length;
    }
    return width;
}

int millimetresToPixels(int millimetres, int dpi) {
    const long long scaled = static_cast<long long>(dpi) * millimetres * 10;
    // round(dpi * mm / 25.4) in whole numbers: (dpi * mm * 10 + 127) / 254.
    return static_cast<int>((scaled + (scaled >= 0 ? 127 : -127)) / 254);
}

LayoutResult framePages(const PrintSettings& settings, const PrintMetrics& metrics,
                        std::size_t lineCount, PageFrame& frame) {
    frame = PageFrame{};
    const int width = metrics.pageWidth(), height = metrics.pageHeight();
    frame.paperWidth = std::max(metrics.paperWidth(), width);
    frame.paperHeight = std::max(metrics.paperHeight(), height);
    const int spareX = frame.paperWidth - width, spareY = frame.paperHeight - height;
    frame.borderLeft = std::max(0, spareX / 2);
    frame.borderTop = std::max(0, spareY / 2);
    const int borderRight = std::max(0, spareX - frame.borderLeft);
    const int borderBottom = std::max(0, spareY - frame.borderTop);

    const int dpiX = metrics.dpiX(), dpiY = metrics.dpiY();
    frame.textLeft =
        std::max(0, millimetresToPixels(settings.marginLeft(), dpiX) - frame.borderLeft);
    frame.textTop = std::max(0, millimetresToPixels(settings.marginTop(), dpiY) - frame.borderTop);
    frame.textRight =
        std::min(width, width - millimetresToPixels(settings.marginRight(), dpiX) + borderRight);
    frame.textBottom = std::min(
        height, height - millimetresToPixels(settings.marginBottom(), dpiY) + borderBottom);

    frame.lineHeight = metrics.lineHeight();
    const int band = frame.lineHeight * 3 / 2;
    const bool header = settings.headerAlign() != haNone && !settings.header().empty();
    const bool footer = settings.footerAlign() != haNone && !settings.footer().empty();
    frame.bodyTop = frame.textTop + (header ? band : 0);
    frame.bodyBottom = frame.textBottom - (footer ? band : 0);
    frame.lineMargin = millimetresToPixels(settings.marginLine(), dpiY);

    const int averageWidth = std::max(1, metrics.averageWidth());
    if (settings.lineNumber()) {
        // Wide enough for the largest number printed, not just for the count
        // of lines: numbering may start high.
        const long long largest = static_cast<long long>(settings.firstLineNumber()) - 1 +
                                  static_cast<long long>(lineCount);
        frame.numberWidth = (decimalDigits(largest) + 2) * averageWidth;
    }
    frame.columnSpace = millimetresToPixels(settings.columnSpace(), dpiX);
    const int columns = settings.columnCount();
    frame.columnWidth = ((frame.textRight - frame.textLeft - frame.numberWidth) -
                         (frame.columnSpace + frame.numberWidth) * (columns - 1)) /
                        columns;
    frame.wrapWidth = frame.columnWidth - (metrics.italic() ? averageWidth : 0);

    // Refused before any page is made: a column narrower than one character
    // cannot be wrapped into, and a body lower than one line would put every
    // piece on a page of its own.
    if (frame.lineHeight <= 0 || frame.wrapWidth < averageWidth ||
        frame.bodyBottom - frame.bodyTop < frame.lineHeight + frame.lineMargin)
        return LayoutResult::TooSmall;
    return LayoutResult::Done;
}

LayoutResult layoutPages(const std::vector<std::string>& lines, const PrintSettings& settings,
                         const PrintMetrics& metrics, const DateTime& now,
                         const LayoutProgress& progress, PrintDocument& document) {
    document.pages.clear();
    if (framePages(settings, metrics, lines.size(), document.frame) != LayoutResult::Done)
        return LayoutResult::TooSmall;
    const PageFrame& frame = document.frame;
    PageMaker maker(settings, metrics, now, document);

    const bool limited = settings.lineRangeOption() == roLimited;
    const std::size_t firstLine = static_cast<std::size_t>(settings.startLine() - 1);
    const std::size_t lastLine = static_cast<std::size_t>(settings.lastLine() - 1);
    const int columnStep = frame.columnSpace + frame.numberWidth + frame.columnWidth;
    const int lineStep = frame.lineHeight + frame.lineMargin;

    long long counter = settings.firstLineNumber() - 1;
    int pageNumber = settings.rangeOption() == roWhole
                         ? settings.firstPageNumber()
                         : settings.firstPageNumber() - settings.startPage() + 1;
    maker.openPage(pageNumber);
    int y = frame.bodyTop;
    int column = 0;
    const std::size_t n = lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (progress && (i % kProgressStep == 0 || i + 1 == n)) {
            const long long last = static_cast<long long>(n) - 1;
            const int percent =
                last == 0 ? 100
                          : static_cast<int>((static_cast<long long>(i) * 100 + last / 2) / last);
            if (!progress(percent)) {
                document.pages.clear();
                return LayoutResult::Cancelled;
            }
        }
        if (limited && (i < firstLine || i > lastLine)) continue;
        ++counter;
        const std::string line = expandPrintTabs(lines[i]);
        const std::string number = settings.lineNumber() ? std::to_string(counter) + ":" : "";
        const int numberWidth = settings.lineNumber() ? metrics.textWidth(number) : 0;
        for (std::string_view piece : wrapPrintLine(line, frame.wrapWidth, metrics)) {
            if (frame.bodyBottom < y + lineStep) {
                if (column + 1 < settings.columnCount()) {
                    ++column;
                } else {
                    maker.closePage();
                    maker.openPage(++pageNumber);
                    column = 0;
                }
                y = frame.bodyTop;
            }
            const int stripLeft = frame.textLeft + column * columnStep;
            if (settings.lineNumber())
                maker.run(RunKind::Number, stripLeft + frame.numberWidth - numberWidth, y, number);
            maker.run(RunKind::Text, stripLeft + frame.numberWidth, y, piece);
            y += lineStep;
        }
    }
    maker.closePage();
    return LayoutResult::Done;
}

std::string expandPrintKeywords(std::string_view text, int pageNumber, std::string_view title,
                                const DateTime& now) {
    std::string out;
    out.reserve(text.size());
    auto twoDigits = [&](int value) {
        out += static_cast<char>('0' + value / 10 % 10);
        out += static_cast<char>('0' + value % 10);
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = charLength(text, i);
        if (length == 1 && text[i] == '%' && i + 1 < text.size()) {
            const std::size_t keyLength = charLength(text, i + 1);
            switch (keyLength == 1 ? text[i + 1] : '\0') {
                case 'p':
                    out += std::to_string(pageNumber);
                    break;
                case 'f':
                    out += title;
                    break;
                case 'F':
                    out += titleTail(title);
                    break;
                case 'y':
                    out += std::to_string(now.year);
                    break;
                case 'm':
                    out += std::to_string(now.month);
                    break;
                case 'd':
                    out += std::to_string(now.day);
                    break;
                case 't':
                    twoDigits(now.hour);
                    out += ':';
                    twoDigits(now.minute);
                    out += ':';
                    twoDigits(now.second);
                    break;
                default:
                    out += text.substr(i + 1, keyLength);
                    break;
            }
            i += 1 + keyLength;
            continue;
        }
        out += text.substr(i, length);
        i += length;
    }
    return out;
}

std::string expandPrintTabs(std::string_view line) {
    if (line.find('\t') == std::string_view::npos) return std::string(line);
    std::string out;
    out.reserve(line.size() + 16);
    for (char c : line) {
        if (c != '\t') {
            out += c;
            continue;
        }
        out.append(8 - out.size() % 8, ' ');
    }
    return out;
}

std::vector<std::string_view> wrapPrintLine(std::string_view line, int width,
                                            const PrintMetrics& metrics) {
    // Each character's class and advance, measured once: the pieces are then
    // found in one pass over the line, however long it is.
    std::vector<ByteClass> classes(line.size());
    std::vector<int> advances(line.size(), 0);  // at each character's first byte
    long long total = 0;
    for (std::size_t i = 0; i < line.size();) {
        const std::size_t length = charLength(line, i);
        if (length == 2) {
            classes[i] = ByteClass::Lead;
            classes[i + 1] = ByteClass::Trail;
        } else {
            classes[i] =
                static_cast<unsigned char>(line[i]) > 32 ? ByteClass::Single : ByteClass::Blank;
        }
        advances[i] = metrics.charWidth(line.substr(i, length));
        total += advances[i];
        i += length;
    }
    if (total <= width) return {line};

    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    long long rest = total;
    while (start < line.size()) {
        if (rest <= width) {
            pieces.push_back(line.substr(start));
            break;
        }
        // The longest run of whole characters that fits, at least one.
        std::size_t end = start + charLength(line, start);
        long long used = advances[start];
        while (end < line.size() && used + advances[end] <= width) {
            used += advances[end];
            end += charLength(line, end);
        }
        // Not inside a word of single-byte characters: back to just after the
        // nearest blank or double-byte character, unless the word is the
        // whole piece.
        if (classes[end - 1] == ByteClass::Single) {
            for (std::size_t back = end - 1; back > start + 1;) {
                --back;
                if (classes[back] == ByteClass::Blank || classes[back] == ByteClass::Trail) {
                    end = back + 1;
                    break;
                }
            }
        }
        for (std::size_t i = start; i < end; ++i) rest -= advances[i];
        pieces.push_back(line.substr(start, end - start));
        start = end;
    }
    return pieces;
}

bool isPagePrinted(const PrintSettings& settings, int position, int number) {
    if (settings.rangeOption() == roLimited &&
        (position < settings.startPage() || position > settings.lastPage()))
        return false;
    if (number < 1) return false;
    switch (settings.pageOption()) {
        case poOdd:
            return number % 2 == 1;
        case poEven:
            return number % 2 == 0;
        default:
            return true;
    }
}

std::vector<std::size_t> printedPages(const PrintDocument& document,
                                      const PrintSettings& settings) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < document.pages.size(); ++i)
        if (isPagePrinted(settings, static_cast<int>(i) + 1, document.pages[i].number))
            chosen.push_back(i);
    return chosen;
}

std::vector<std::string> printLayoutDump(const PrintDocument& document,
                                         const PrintSettings& settings) {
    std::vector<std::string> dump;
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        const PrintPage& page = document.pages[i];
        const int position = static_cast<int>(i) + 1;
        dump.push_back("P " + std::to_string(position) + " " + std::to_string(page.number) + " " +
                       (isPagePrinted(settings, position, page.number) ? "1" : "0"));
        for (const PrintRun& run : page.runs)
            dump.push_back(std::string(1, static_cast<char>(run.kind)) + " " +
                           std::to_string(run.x) + " " + std::to_string(run.y) + " \"" + run.text +
                           "\"");
    }
    return dump;
}

}  // namespace zel
