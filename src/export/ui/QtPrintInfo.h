#pragma once
// What the settings dialog shows of the current printer: its name, its paper
// (code, name, size in millimetres) and its orientation.

#include <string>
#include <string_view>

class QPrinter;

namespace zel {

struct TStringsPrinterInfo {
    std::string printerName;  // Shift_JIS; "不明" without a printer
    int paperCode = 9;        // the standard paper codes; 9 is A4
    std::string paperName;
    int paperWidthMm = 0;
    int paperHeightMm = 0;
    std::string orientation;  // "poPortrait" or "poLandscape"

    // Reads the printer's current setting; called again whenever the printer
    // (or its set-up) changes.
    void read(const QPrinter& printer);
    // "A4 210 x 297 mm", as the dialog shows the paper.
    std::string paperText() const;
};

// The name of a standard paper code (1 "DMPAPER_LETTER" ... 68
// "DMPAPER_A3_EXTRA_TRANSVERSE"); empty for any other code.
std::string_view standardPaperName(int code);
// Its size in millimetres (in tenths rounded), 0 x 0 when unknown.
void standardPaperSize(int code, int& widthMm, int& heightMm);

}  // namespace zel
