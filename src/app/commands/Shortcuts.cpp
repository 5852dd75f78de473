#include "app/commands/Shortcuts.h"

#include <QFileInfo>
#include <QUrl>

#include "app/IniFile.h"
#include "platform/DesktopEntry.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/ViewText.h"

namespace zel {

namespace {

std::string desktopEntryTarget(std::string_view path) {
    std::string text;
    if (!readFile(path, text)) return std::string(path);
    IniFile entry(text);
    std::string type = trimText(entry.raw("Type"));
    if (type == "Link") {
        QUrl url(toQt(trimText(entry.raw("URL"))));
        return url.isLocalFile() ? fromQt(url.toLocalFile()) : fromQt(url.toString());
    }
    if (type == "Application") {
        // Desktop entries are UTF-8, their Exec lines quoted and escaped.
        std::vector<std::string> words = desktopExecArguments(trimText(entry.raw("Exec")));
        if (!words.empty()) return utf8ToSjis(words.front());
    }
    return std::string(path);
}

}  // namespace

std::string shortcutTarget(std::string_view path) {
    if (lowerText(extensionOf(path)) == ".desktop") return desktopEntryTarget(path);
    QFileInfo info(toQt(path));
    if (info.isSymLink()) return fromQt(info.symLinkTarget());
    return std::string(path);
}

}  // namespace zel
