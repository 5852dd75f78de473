#pragma once
// The page layout of the text printer, in printer pixels and without any
// drawing service: text lines go onto pages with margins, one to three
// columns, optional line numbers, a header and a footer line, and a line
// range; the result is each page's display list (what text goes where), which
// the printer and the preview paint on demand. Nothing here holds a page as a
// picture, so a long text costs its runs, not megabytes per page.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/PrintSettings.h"
#include "text/DateTime.h"

namespace zel {

// What the layout asks of the printer and its font, in device pixels.
class PrintMetrics {
  public:
    virtual ~PrintMetrics() = default;
    // Dots per inch across and down.
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // The printable page and the whole paper, in the printer's orientation.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int paperWidth() const = 0;
    virtual int paperHeight() const = 0;
    // The print font: character height plus external leading, average
    // character width, and whether it slants.
    virtual int lineHeight() const = 0;
    virtual int averageWidth() const = 0;
    virtual bool italic() const = 0;
    // The advance of the one Shift_JIS character `ch` (one or two bytes).
    virtual int charWidth(std::string_view ch) const = 0;
    // The width of a Shift_JIS text: its characters' advances added up.
    virtual int textWidth(std::string_view text) const;
};

// A length in millimetres at `dpi`: round(dpi * mm / 25.4).
int millimetresToPixels(int millimetres, int dpi);

// Where things go on every page.
struct PageFrame {
    // The unprintable border of the paper left of and above the printable
    // page (the page is taken to be centred on the paper).
    int borderLeft = 0;
    int borderTop = 0;
    int paperWidth = 0;
    int paperHeight = 0;
    // The text area on the printable page.
    int textLeft = 0, textTop = 0, textRight = 0, textBottom = 0;
    // The body runs from the header band's bottom to the footer band's top.
    int bodyTop = 0;
    int bodyBottom = 0;
    int lineHeight = 0;
    int lineMargin = 0;
    int columnSpace = 0;
    int numberWidth = 0;  // the line-number strip; 0 without line numbers
    int columnWidth = 0;  // each column's text width
    int wrapWidth = 0;    // the width pieces are wrapped to
};

enum class RunKind : char { Header = 'H', Number = 'N', Text = 'T', Footer = 'F' };

// One text drawn on one line at (x, y): the top-left of the line, after
// alignment. Tabs are already expanded.
struct PrintRun {
    RunKind kind = RunKind::Text;
    int x = 0;
    int y = 0;
    std::string text;
};

struct PrintPage {
    int number = 0;  // as %p prints it
    std::vector<PrintRun> runs;
};

struct PrintDocument {
    PageFrame frame;
    std::vector<PrintPage> pages;
};

enum class LayoutResult {
    Done,
    Cancelled,
    // No column wide enough for one character, or a body too low for one line.
    TooSmall,
};

// Told the percentage done every 50 lines and at the last; answers false to
// cancel the layout.
using LayoutProgress = std::function<bool(int percent)>;

// The frame for `settings` on the printer `metrics` describes, and `lineCount`
// input lines. TooSmall when no line fits.
LayoutResult framePages(const PrintSettings& settings, const PrintMetrics& metrics,
                        std::size_t lineCount, PageFrame& frame);

// Lays `lines` out as the settings say; `now` answers %y %m %d %t. On
// anything but Done, `document` holds no pages.
LayoutResult layoutPages(const std::vector<std::string>& lines, const PrintSettings& settings,
                         const PrintMetrics& metrics, const DateTime& now,
                         const LayoutProgress& progress, PrintDocument& document);

// Header and footer keywords: %p page number, %f the print title, %F the
// title after its last "\" or ":", %y %m %d today without leading zeros, %t
// the time as hh:nn:ss; "%" before any other character gives that character,
// and a "%" at the very end stays.
std::string expandPrintKeywords(std::string_view text, int pageNumber, std::string_view title,
                                const DateTime& now);

// The pieces a line is wrapped into for `width`: a line that fits is one
// piece; otherwise a piece ends after a blank, after a double-byte character,
// or, for a word wider than the width, at the width. Every piece holds at
// least one whole character, and a rest that fits is one piece. Views into
// `line`.
std::vector<std::string_view> wrapPrintLine(std::string_view line, int width,
                                            const PrintMetrics& metrics);

// Tabs as blanks up to the next multiple of eight bytes.
std::string expandPrintTabs(std::string_view line);

// Whether the page at `position` (from 1) with `number` is printed: in the
// page range when it is limited, numbered 1 or more, and odd or even as
// chosen.
bool isPagePrinted(const PrintSettings& settings, int position, int number);
// The positions (from 0) of the pages printed, in order.
std::vector<std::size_t> printedPages(const PrintDocument& document, const PrintSettings& settings);

// The document as text, one line per page and per run: "P <position>
// <number> <printed 1|0>", then the page's runs in drawing order as
// "H|N|T|F <x> <y> \"<text>\"".
std::vector<std::string> printLayoutDump(const PrintDocument& document,
                                         const PrintSettings& settings);

}  // namespace zel
