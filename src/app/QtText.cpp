#include "app/QtText.h"

#include "text/Sjis.h"

namespace zel {

QString toQ(std::string_view sjis) {
    return QString::fromStdString(sjisToUtf8(sjis));
}

std::string fromQ(const QString& text, std::size_t* replaced) {
    return utf8ToSjis(text.toStdString(), replaced);
}

}  // namespace zel
