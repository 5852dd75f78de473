#pragma once
// The edge between model values and Qt: Shift_JIS text and stored colours.

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "text/Values.h"

namespace zel {

QString toQt(std::string_view sjis);
// A character that code page 932 cannot hold becomes "?".
std::string fromQt(const QString& text);
// A stored colour (red in the low byte); system colours take the palette's
// button colour.
QColor toQColor(Color color);
Color fromQColor(const QColor& color);

}  // namespace zel
