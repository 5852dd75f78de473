#include "export/ui/QtPrintMetrics.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <cmath>

#include "text/Sjis.h"

namespace zel {

namespace {

QString qtText(std::string_view sjis) {
    const std::string utf8 = sjisToUtf8(sjis);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int screenDpi() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? std::max(1, static_cast<int>(std::lround(screen->logicalDotsPerInch()))) : 96;
}

}  // namespace

QFont printFontAt(const PrintFont& font, int dpi) {
    QFont qt;
    qt.setFamilies({qtText(font.name), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    qt.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * dpi / 72.0))));
    qt.setBold(font.bold);
    qt.setItalic(font.italic);
    qt.setUnderline(font.underline);
    qt.setStrikeOut(font.strikeOut);
    return qt;
}

QColor printColor(Color color) {
    if (color >= 0x80000000u) return Qt::black;
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

QtPrintMetrics::QtPrintMetrics(const PrintFont& font, const QPrinter& printer)
    : font_(printFontAt(font, std::max(1, printer.resolution()))),
      metrics_(font_),
      advances_(65536, -1) {
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    if (page.width() > 0 && page.height() > 0 && printer.resolution() > 0) {
        dpiX_ = dpiY_ = printer.resolution();
        pageWidth_ = page.width();
        pageHeight_ = page.height();
        paperWidth_ = paper.width();
        paperHeight_ = paper.height();
    } else {
        dpiX_ = dpiY_ = screenDpi();
        pageWidth_ = paperWidth_ = millimetresToPixels(210, dpiX_);
        pageHeight_ = paperHeight_ = millimetresToPixels(297, dpiY_);
        font_ = printFontAt(font, dpiY_);
        metrics_ = QFontMetrics(font_);
    }
    lineHeight_ = metrics_.height() + metrics_.leading();
    averageWidth_ = std::max(1, metrics_.averageCharWidth());
    ascent_ = metrics_.ascent();
}

int QtPrintMetrics::charWidth(std::string_view ch) const {
    if (ch.empty()) return 0;
    const unsigned index = static_cast<unsigned char>(ch[0]) << 8 |
                           (ch.size() > 1 ? static_cast<unsigned char>(ch[1]) : 0u);
    int& advance = advances_[index];
    if (advance < 0) advance = metrics_.horizontalAdvance(qtText(ch));
    return advance;
}

void paintPrintPage(QPainter& painter, const PrintPage& page, const QFont& font, int ascent,
                    const QColor& color) {
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    for (const PrintRun& run : page.runs)
        painter.drawText(QPoint(run.x, run.y + ascent), qtText(run.text));
    painter.restore();
}

}  // namespace zel
