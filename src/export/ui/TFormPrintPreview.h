#pragma once
// The preview of the text printer: every page laid out, one at a time, as the
// whole paper with the printable area in place, painted from the page's
// display list at the chosen scale. Buttons move between pages and choose
// the scale (fit the height, fit the width, the paper's real size); dragging
// the page scrolls it, the wheel scrolls up and down.

#include <QColor>
#include <QDialog>
#include <QFont>

#include "export/PrintLayout.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace zel {

class PrintPageView;

class TFormStrPreview : public QDialog {
    Q_OBJECT
  public:
    // `document` must outlive the window; `font` and `ascent` are the print
    // font at the printer's resolution `printerDpi`.
    TFormStrPreview(const PrintDocument& document, const QFont& font, int ascent,
                    const QColor& color, int printerDpi, QWidget* parent = nullptr);

    int pageIndex() const { return page_; }
    // Screen pixels per printer pixel.
    double scale() const { return scale_; }
    void showPage(int index);
    void fitHeight();
    void fitWidth();
    void actualSize();

    QPushButton* firstButton;
    QPushButton* previousButton;
    QPushButton* nextButton;
    QPushButton* lastButton;
    QPushButton* adjustHeightButton;
    QPushButton* adjustWidthButton;
    QPushButton* actualSizeButton;
    QPushButton* closeButton;
    QLabel* pageLabel;
    QScrollArea* scroller;

  private:
    void setScale(double scale);
    void refresh();

    const PrintDocument& document_;
    PrintPageView* view_;
    int printerDpi_;
    int page_ = 0;
    double scale_ = 1.0;
};

}  // namespace zel
