#include "platform/OsPath.h"

#include <cstring>

#include "text/Sjis.h"

namespace zel {

std::string toOsPath(std::string_view sjisPath) {
    return sjisToUtf8(sjisPath);
}

std::string fromOsPath(std::string_view osPath) {
    return utf8ToSjis(osPath);
}

IoResult errnoFailure(std::string_view what, std::string_view sjisPath, int error) {
    std::string text(what);
    text.append(" ").append(sjisPath).append(": ").append(utf8ToSjis(std::strerror(error)));
    return IoResult::failure(std::move(text));
}

}  // namespace zel
