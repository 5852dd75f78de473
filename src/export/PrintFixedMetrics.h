#pragma once
// Printer metrics without a printer: every byte one cell wide (a double-byte
// character two), a fixed line height, a paper given in millimetres. The
// layout dump of zel-tool and the layout tests use them, so paging can be
// checked to the pixel without fonts.

#include "export/PrintLayout.h"

namespace zel {

struct FixedPrintShape {
    int dpi = 254;  // 10 pixels a millimetre
    int paperWidthMm = 210;
    int paperHeightMm = 297;
    // The unprintable border on every side of the paper.
    int borderMm = 0;
    int cellWidth = 10;
    int lineHeight = 20;
    bool italic = false;
};

class PrintFixedMetrics final : public PrintMetrics {
  public:
    explicit PrintFixedMetrics(const FixedPrintShape& shape = {}) : shape_(shape) {}

    int dpiX() const override { return shape_.dpi; }
    int dpiY() const override { return shape_.dpi; }
    int pageWidth() const override { return paperWidth() - 2 * border(); }
    int pageHeight() const override { return paperHeight() - 2 * border(); }
    int paperWidth() const override { return millimetresToPixels(shape_.paperWidthMm, shape_.dpi); }
    int paperHeight() const override {
        return millimetresToPixels(shape_.paperHeightMm, shape_.dpi);
    }
    int lineHeight() const override { return shape_.lineHeight; }
    int averageWidth() const override { return shape_.cellWidth; }
    bool italic() const override { return shape_.italic; }
    int charWidth(std::string_view ch) const override {
        return static_cast<int>(ch.size()) * shape_.cellWidth;
    }
    int textWidth(std::string_view text) const override {
        return static_cast<int>(text.size()) * shape_.cellWidth;
    }

  private:
    int border() const { return millimetresToPixels(shape_.borderMm, shape_.dpi); }
    FixedPrintShape shape_;
};

}  // namespace zel
