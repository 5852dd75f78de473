#include "app/window/DiskWatch.h"

#include <QSet>

#include "platform/OsPath.h"
#include "text/TextHelpers.h"

namespace zel {

DiskWatch::DiskWatch(std::function<void()> settled) : settled_(std::move(settled)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { settled_(); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { poke(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { poke(); });
}

void DiskWatch::watch(const std::vector<std::string>& paths) {
    QStringList files, folders;
    for (const std::string& path : paths) {
        files << QString::fromStdString(toOsPath(path));
        std::string folder(folderOf(path));
        if (folder.size() > 1 && folder.ends_with('/')) folder.pop_back();
        const QString os = QString::fromStdString(toOsPath(folder.empty() ? "." : folder));
        if (!folders.contains(os)) folders << os;
    }
    // A watch on a file that was renamed over points at a file gone.
    if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
    const QStringList watchedFolders = watcher_.directories();
    for (const QString& folder : watchedFolders)
        if (!folders.contains(folder)) watcher_.removePath(folder);
    for (const QString& folder : folders)
        if (!watchedFolders.contains(folder)) watcher_.addPath(folder);
    if (!files.isEmpty()) watcher_.addPaths(files);
}

void DiskWatch::poke() {
    settle_.start();
}

}  // namespace zel
