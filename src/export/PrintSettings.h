#pragma once
// The settings of the text printer: margins, columns, line numbers, header and
// footer, page and line ranges, odd or even pages, and the print font. Every
// setter stores the nearest bound for a value outside its range, so settings
// read from a file or typed by a user can never make the layout divide by
// nothing or loop without end.
//
// The serial form (what the settings file keeps, hex-encoded) is Shift_JIS
// text of "Name=Value" lines ending in LF, one per property in the order of
// printPropertyNames(). A reader ignores names it does not know and keeps the
// value of a property the text does not name.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "text/Values.h"

namespace zel {

enum HeaderAlign { haNone = 0, haLeft = 1, haCenter = 2, haRight = 3 };
enum PageOption { poBoth = 0, poOdd = 1, poEven = 2 };
enum RangeOption { roWhole = 0, roLimited = 1 };

// The system colour "window text"; painted black on paper.
inline constexpr Color kWindowTextColor = 0x80000008;
// The character set code of Shift_JIS fonts.
inline constexpr int kShiftJisCharset = 128;

struct PrintFont {
    // "ＭＳ Ｐゴシック"; font matching picks an installed Gothic face for it.
    std::string name = "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
    int size = 9;  // points, 1-1000
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = kShiftJisCharset;
    Color color = kWindowTextColor;

    bool operator==(const PrintFont&) const = default;
};

// Largest page and line numbers.
inline constexpr int kPrintNumberLimit = 999999;

class PrintSettings {
  public:
    int columnCount() const { return columnCount_; }
    int columnSpace() const { return columnSpace_; }
    const std::string& fileName() const { return fileName_; }
    int firstLineNumber() const { return firstLineNumber_; }
    int firstPageNumber() const { return firstPageNumber_; }
    const PrintFont& font() const { return font_; }
    const std::string& footer() const { return footer_; }
    HeaderAlign footerAlign() const { return footerAlign_; }
    const std::string& header() const { return header_; }
    HeaderAlign headerAlign() const { return headerAlign_; }
    int lastLine() const { return lastLine_; }
    int lastPage() const { return lastPage_; }
    bool lineNumber() const { return lineNumber_; }
    RangeOption lineRangeOption() const { return lineRangeOption_; }
    int marginBottom() const { return marginBottom_; }
    int marginLeft() const { return marginLeft_; }
    int marginLine() const { return marginLine_; }
    int marginRight() const { return marginRight_; }
    int marginTop() const { return marginTop_; }
    PageOption pageOption() const { return pageOption_; }
    RangeOption rangeOption() const { return rangeOption_; }
    int startLine() const { return startLine_; }
    int startPage() const { return startPage_; }

    void setColumnCount(long long value);  // 1-3
    void setColumnSpace(long long value);  // 0-100 mm
    void setFileName(std::string_view value);
    void setFirstLineNumber(long long value);  // 1-999999, as the other numbers
    void setFirstPageNumber(long long value);
    void setFont(const PrintFont& value);  // the size bounded
    void setFooter(std::string_view value);
    void setFooterAlign(HeaderAlign value);
    void setHeader(std::string_view value);
    void setHeaderAlign(HeaderAlign value);
    void setLastLine(long long value);
    void setLastPage(long long value);
    void setLineNumber(bool value) { lineNumber_ = value; }
    void setLineRangeOption(RangeOption value);
    void setMarginBottom(long long value);  // 0-100 mm, as the other margins
    void setMarginLeft(long long value);
    void setMarginLine(long long value);
    void setMarginRight(long long value);
    void setMarginTop(long long value);
    void setPageOption(PageOption value);
    void setRangeOption(RangeOption value);
    void setStartLine(long long value);
    void setStartPage(long long value);

    bool operator==(const PrintSettings&) const = default;

  private:
    int columnCount_ = 1;
    int columnSpace_ = 4;
    std::string fileName_;
    int firstLineNumber_ = 1;
    int firstPageNumber_ = 1;
    PrintFont font_;
    std::string footer_;
    HeaderAlign footerAlign_ = haNone;
    std::string header_;
    HeaderAlign headerAlign_ = haNone;
    int lastLine_ = kPrintNumberLimit;
    int lastPage_ = kPrintNumberLimit;
    bool lineNumber_ = false;
    RangeOption lineRangeOption_ = roWhole;
    int marginBottom_ = 0;
    int marginLeft_ = 0;
    int marginLine_ = 0;
    int marginRight_ = 0;
    int marginTop_ = 0;
    PageOption pageOption_ = poBoth;
    RangeOption rangeOption_ = roWhole;
    int startLine_ = 1;
    int startPage_ = 1;
};

// The property names of the serial form, in its order ("ColumnCount", ...,
// "Font.Name", "Font.Size", "Font.Style", "Font.Charset", "Font.Color", ...).
const std::vector<std::string_view>& printPropertyNames();
// Every property and its value as the serial form writes it.
std::vector<std::pair<std::string, std::string>> printPropertyValues(const PrintSettings& settings);
// Sets one property from its serial text (names match without regard to
// letter case; numbers are bounded). False for an unknown name or a value
// that is not of the property's kind; the settings are then unchanged.
bool setPrintProperty(PrintSettings& settings, std::string_view name, std::string_view value);

std::string serialisePrintSettings(const PrintSettings& settings);
// Reads a serial form into `settings`: every line must be "Name=Value" with a
// value of the right kind (unknown names are skipped). False, with `settings`
// unchanged, when any line does not parse.
bool deserialisePrintSettings(std::string_view text, PrintSettings& settings);

// What an entry typed into a page or line field of the settings dialog
// becomes: 0 or less wraps to 999999, more than 999999 to 1.
int wrapPrintNumberEntry(long long value);

}  // namespace zel
