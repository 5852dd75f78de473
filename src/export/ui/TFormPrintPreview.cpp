#include "export/ui/TFormPrintPreview.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "export/ui/QtPrintMetrics.h"

namespace zel {

// The paper of one page, painted from its display list.
class PrintPageView : public QWidget {
  public:
    PrintPageView(const PrintDocument& document, const QFont& font, int ascent, const QColor& color,
                  QScrollArea* scroller)
        : document_(document), font_(font), ascent_(ascent), color_(color), scroller_(scroller) {
        setCursor(Qt::OpenHandCursor);
    }

    void show(int page, double scale) {
        page_ = page;
        scale_ = scale;
        const PageFrame& frame = document_.frame;
        setFixedSize(std::max(1, static_cast<int>(std::lround(frame.paperWidth * scale))),
                     std::max(1, static_cast<int>(std::lround(frame.paperHeight * scale))));
        QWidget::update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (page_ < 0 || page_ >= static_cast<int>(document_.pages.size())) return;
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale_, scale_);
        painter.translate(document_.frame.borderLeft, document_.frame.borderTop);
        paintPrintPage(painter, document_.pages[static_cast<std::size_t>(page_)], font_, ascent_,
                       color_);
    }

    void mousePressEvent(QMouseEvent* event) override {
        grip_ = event->globalPosition().toPoint();
        setCursor(Qt::ClosedHandCursor);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton)) return;
        const QPoint now = event->globalPosition().toPoint();
        const QPoint moved = now - grip_;
        grip_ = now;
        scroller_->horizontalScrollBar()->setValue(scroller_->horizontalScrollBar()->value() -
                                                   moved.x());
        scroller_->verticalScrollBar()->setValue(scroller_->verticalScrollBar()->value() -
                                                 moved.y());
    }
    void mouseReleaseEvent(QMouseEvent*) override { setCursor(Qt::OpenHandCursor); }

  private:
    const PrintDocument& document_;
    QFont font_;
    int ascent_;
    QColor color_;
    QScrollArea* scroller_;
    int page_ = 0;
    double scale_ = 1.0;
    QPoint grip_;
};

TFormStrPreview::TFormStrPreview(const PrintDocument& document, const QFont& font, int ascent,
                                 const QColor& color, int printerDpi, QWidget* parent)
    : QDialog(parent), document_(document), printerDpi_(std::max(1, printerDpi)) {
    setWindowTitle(QStringLiteral("Preview"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    firstButton = button(QStringLiteral("|<"));
    previousButton = button(QStringLiteral("<"));
    nextButton = button(QStringLiteral(">"));
    lastButton = button(QStringLiteral(">|"));
    pageLabel = new QLabel(this);
    buttons->addWidget(pageLabel);
    adjustHeightButton = button(QStringLiteral("Adjust Height"));
    adjustWidthButton = button(QStringLiteral("Adjust Width"));
    actualSizeButton = button(QStringLiteral("100%"));
    buttons->addStretch();
    closeButton = button(QStringLiteral("Close"));
    layout->addLayout(buttons);

    scroller = new QScrollArea(this);
    scroller->setAlignment(Qt::AlignCenter);
    scroller->setBackgroundRole(QPalette::Dark);
    view_ = new PrintPageView(document_, font, ascent, color, scroller);
    scroller->setWidget(view_);
    layout->addWidget(scroller, 1);

    connect(firstButton, &QPushButton::clicked, this, [this] { showPage(0); });
    connect(previousButton, &QPushButton::clicked, this, [this] { showPage(page_ - 1); });
    connect(nextButton, &QPushButton::clicked, this, [this] { showPage(page_ + 1); });
    connect(lastButton, &QPushButton::clicked, this,
            [this] { showPage(static_cast<int>(document_.pages.size()) - 1); });
    connect(adjustHeightButton, &QPushButton::clicked, this, &TFormStrPreview::fitHeight);
    connect(adjustWidthButton, &QPushButton::clicked, this, &TFormStrPreview::fitWidth);
    connect(actualSizeButton, &QPushButton::clicked, this, &TFormStrPreview::actualSize);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);

    actualSize();
    showPage(0);
    // As wide as the paper at its real size and a scroll bar, 5/6 of the
    // screen high.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    resize(std::min(available.width(), view_->width() + scrollBar + 16 +
                                           layout->contentsMargins().left() +
                                           layout->contentsMargins().right()),
           available.height() * 5 / 6);
}

void TFormStrPreview::showPage(int index) {
    const int count = static_cast<int>(document_.pages.size());
    page_ = std::clamp(index, 0, std::max(0, count - 1));
    refresh();
}

void TFormStrPreview::fitHeight() {
    const int height = scroller->viewport()->height();
    if (document_.frame.paperHeight > 0 && height > 0)
        setScale(static_cast<double>(height) / document_.frame.paperHeight);
}

void TFormStrPreview::fitWidth() {
    const int width = scroller->viewport()->width();
    if (document_.frame.paperWidth > 0 && width > 0)
        setScale(static_cast<double>(width) / document_.frame.paperWidth);
}

void TFormStrPreview::actualSize() {
    setScale(logicalDpiX() / static_cast<double>(printerDpi_));
}

void TFormStrPreview::setScale(double scale) {
    scale_ = scale;
    refresh();
}

void TFormStrPreview::refresh() {
    const int count = static_cast<int>(document_.pages.size());
    firstButton->setEnabled(page_ > 0);
    previousButton->setEnabled(page_ > 0);
    nextButton->setEnabled(page_ + 1 < count);
    lastButton->setEnabled(page_ + 1 < count);
    pageLabel->setText(QString::asprintf("%3d / %3d", count ? page_ + 1 : 0, count));
    view_->show(page_, scale_);
}

}  // namespace zel
