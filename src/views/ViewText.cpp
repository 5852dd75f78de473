#include "views/ViewText.h"

#include <QApplication>
#include <QPalette>

#include "text/Sjis.h"

namespace zel {

namespace {
constexpr Color kSystemColorBase = 0x80000000u;
}

QString toQt(std::string_view sjis) {
    return QString::fromStdString(sjisToUtf8(sjis));
}

std::string fromQt(const QString& text) {
    return utf8ToSjis(text.toStdString());
}

QColor toQColor(Color color) {
    if (color >= kSystemColorBase) return QApplication::palette().color(QPalette::Button);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

Color fromQColor(const QColor& color) {
    return static_cast<Color>(color.red()) | static_cast<Color>(color.green()) << 8 |
           static_cast<Color>(color.blue()) << 16;
}

}  // namespace zel
