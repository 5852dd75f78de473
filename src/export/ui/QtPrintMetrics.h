#pragma once
// The text printer on Qt: the print font and the printer's page as the
// layout measures them, and the painting of a laid-out page on any painter
// (a printer's, or the preview's, scaled).

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <memory>
#include <vector>

#include "export/PrintLayout.h"

class QPainter;
class QPrinter;

namespace zel {

// The print font at `dpi` dots per inch, sized in device pixels so that the
// same font lays out alike on the printer and, scaled, in the preview. A
// family that is not installed falls back to a Japanese Gothic face.
QFont printFontAt(const PrintFont& font, int dpi);
// The font colour on paper: system colours (window text) print black.
QColor printColor(Color color);

class QtPrintMetrics final : public PrintMetrics {
  public:
    // Measures on `printer`: its resolution, page and paper. A printer that
    // reports no page is taken as A4 at the screen's resolution.
    QtPrintMetrics(const PrintFont& font, const QPrinter& printer);

    int dpiX() const override { return dpiX_; }
    int dpiY() const override { return dpiY_; }
    int pageWidth() const override { return pageWidth_; }
    int pageHeight() const override { return pageHeight_; }
    int paperWidth() const override { return paperWidth_; }
    int paperHeight() const override { return paperHeight_; }
    int lineHeight() const override { return lineHeight_; }
    int averageWidth() const override { return averageWidth_; }
    bool italic() const override { return font_.italic(); }
    // Advances are measured once per character and kept.
    int charWidth(std::string_view ch) const override;

    const QFont& font() const { return font_; }
    int ascent() const { return ascent_; }

  private:
    QFont font_;
    QFontMetrics metrics_;
    int dpiX_ = 96, dpiY_ = 96;
    int pageWidth_ = 0, pageHeight_ = 0, paperWidth_ = 0, paperHeight_ = 0;
    int lineHeight_ = 0, averageWidth_ = 0, ascent_ = 0;
    // Indexed by the character's bytes (first << 8 | second); -1 not measured.
    mutable std::vector<int> advances_;
};

// Paints the runs of `page` on `painter`, whose coordinates are the printable
// page's pixels, in `font` and `color`.
void paintPrintPage(QPainter& painter, const PrintPage& page, const QFont& font, int ascent,
                    const QColor& color);

}  // namespace zel
