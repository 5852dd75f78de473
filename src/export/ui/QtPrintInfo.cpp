#include "export/ui/QtPrintInfo.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <array>
#include <cmath>

#include "text/Sjis.h"

namespace zel {

namespace {

// The standard paper codes from 1, in order.
constexpr std::array<std::string_view, 68> kPaperNames = {
    "DMPAPER_LETTER",
    "DMPAPER_LETTERSMALL",
    "DMPAPER_TABLOID",
    "DMPAPER_LEDGER",
    "DMPAPER_LEGAL",
    "DMPAPER_STATEMENT",
    "DMPAPER_EXECUTIVE",
    "DMPAPER_A3",
    "DMPAPER_A4",
    "DMPAPER_A4SMALL",
    "DMPAPER_A5",
    "DMPAPER_B4",
    "DMPAPER_B5",
    "DMPAPER_FOLIO",
    "DMPAPER_QUARTO",
    "DMPAPER_10X14",
    "DMPAPER_11X17",
    "DMPAPER_NOTE",
    "DMPAPER_ENV_9",
    "DMPAPER_ENV_10",
    "DMPAPER_ENV_11",
    "DMPAPER_ENV_12",
    "DMPAPER_ENV_14",
    "DMPAPER_CSHEET",
    "DMPAPER_DSHEET",
    "DMPAPER_ESHEET",
    "DMPAPER_ENV_DL",
    "DMPAPER_ENV_C5",
    "DMPAPER_ENV_C3",
    "DMPAPER_ENV_C4",
    "DMPAPER_ENV_C6",
    "DMPAPER_ENV_C65",
    "DMPAPER_ENV_B4",
    "DMPAPER_ENV_B5",
    "DMPAPER_ENV_B6",
    "DMPAPER_ENV_ITALY",
    "DMPAPER_ENV_MONARCH",
    "DMPAPER_ENV_PERSONAL",
    "DMPAPER_FANFOLD_US",
    "DMPAPER_FANFOLD_STD_GERMAN",
    "DMPAPER_FANFOLD_LGL_GERMAN",
    "DMPAPER_ISO_B4",
    "DMPAPER_JAPANESE_POSTCARD",
    "DMPAPER_9X11",
    "DMPAPER_10X11",
    "DMPAPER_15X11",
    "DMPAPER_ENV_INVITE",
    "DMPAPER_RESERVED_48",
    "DMPAPER_RESERVED_49",
    "DMPAPER_LETTER_EXTRA",
    "DMPAPER_LEGAL_EXTRA",
    "DMPAPER_TABLOID_EXTRA",
    "DMPAPER_A4_EXTRA",
    "DMPAPER_LETTER_TRANSVERSE",
    "DMPAPER_A4_TRANSVERSE",
    "DMPAPER_LETTER_EXTRA_TRANSVERSE",
    "DMPAPER_A_PLUS",
    "DMPAPER_B_PLUS",
    "DMPAPER_LETTER_PLUS",
    "DMPAPER_A4_PLUS",
    "DMPAPER_A5_TRANSVERSE",
    "DMPAPER_B5_TRANSVERSE",
    "DMPAPER_A3_EXTRA",
    "DMPAPER_A5_EXTRA",
    "DMPAPER_B5_EXTRA",
    "DMPAPER_A2",
    "DMPAPER_A3_TRANSVERSE",
    "DMPAPER_A3_EXTRA_TRANSVERSE",
};

// "不明"
constexpr std::string_view kUnknownPrinter = "\x95\x73\x96\xbe";

std::string sjis(const QString& text) {
    return utf8ToSjis(text.toStdString());
}

}  // namespace

std::string_view standardPaperName(int code) {
    if (code < 1 || code > static_cast<int>(kPaperNames.size())) return {};
    return kPaperNames[static_cast<std::size_t>(code - 1)];
}

void standardPaperSize(int code, int& widthMm, int& heightMm) {
    widthMm = heightMm = 0;
    if (standardPaperName(code).empty()) return;
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom) return;
    const QSizeF mm = QPageSize(id).size(QPageSize::Millimeter);
    widthMm = static_cast<int>(std::lround(mm.width()));
    heightMm = static_cast<int>(std::lround(mm.height()));
}

void TStringsPrinterInfo::read(const QPrinter& printer) {
    printerName = sjis(printer.printerName());
    if (printerName.empty()) printerName = std::string(kUnknownPrinter);
    const QPageLayout layout = printer.pageLayout();
    const QPageSize page = layout.pageSize();
    paperCode = page.isValid() && page.windowsId() > 0 ? page.windowsId() : 9;
    // The printer's own paper first, the standard table for what it lacks.
    if (page.isValid() && page.windowsId() == paperCode) {
        const QSizeF mm = page.size(QPageSize::Millimeter);
        paperName = sjis(page.name());
        paperWidthMm = static_cast<int>(std::lround(mm.width()));
        paperHeightMm = static_cast<int>(std::lround(mm.height()));
    } else {
        paperName = std::string(standardPaperName(paperCode));
        standardPaperSize(paperCode, paperWidthMm, paperHeightMm);
    }
    orientation = layout.orientation() == QPageLayout::Landscape ? "poLandscape" : "poPortrait";
}

std::string TStringsPrinterInfo::paperText() const {
    return paperName + " " + std::to_string(paperWidthMm) + " x " + std::to_string(paperHeightMm) +
           " mm";
}

}  // namespace zel
