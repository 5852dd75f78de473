#pragma once
// Tells when files that other programs may write have settled. Each file
// and its folder are watched: sync engines and editors replace a file by
// renaming another over it, which ends a watch on the file itself. A burst
// of changes (a sync writing several files, a program writing in pieces)
// yields one call, once nothing has changed for a moment.

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

namespace zel {

class DiskWatch : public QObject {
  public:
    // How long the files must stay quiet before `settled` is called.
    static constexpr int kSettleMs = 300;

    explicit DiskWatch(std::function<void()> settled);

    // Watches exactly `paths` (model paths) and their folders from now on;
    // a file replaced since it was last given is watched again.
    void watch(const std::vector<std::string>& paths);
    // `settled` is called as if a watched file had just changed.
    void poke();
    bool isPending() const { return settle_.isActive(); }

  private:
    QFileSystemWatcher watcher_;
    QTimer settle_;
    std::function<void()> settled_;
};

}  // namespace zel
