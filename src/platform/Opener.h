#pragma once
// Handing a finished file or an address to the desktop to be shown (the
// shell's "Open"). Commands that open what they made go through here rather
// than starting xdg-open themselves, so tests install a recorder and start
// nothing.

#include <functional>
#include <string_view>
#include <utility>

namespace zel {

// Opens `target` with working folder `workingFolder` (empty: the current
// one); false when nothing could be started.
using DesktopOpener = std::function<bool(std::string_view target, std::string_view workingFolder)>;

// Installs `opener` (an empty one means the desktop's own, xdg-open) and
// returns the one it replaces.
DesktopOpener setDesktopOpener(DesktopOpener opener);
bool openOnDesktop(std::string_view target, std::string_view workingFolder = {});

// Installs an opener for as long as it lives.
class ScopedDesktopOpener {
  public:
    explicit ScopedDesktopOpener(DesktopOpener opener)
        : previous_(setDesktopOpener(std::move(opener))) {}
    ~ScopedDesktopOpener() { setDesktopOpener(std::move(previous_)); }
    ScopedDesktopOpener(const ScopedDesktopOpener&) = delete;
    ScopedDesktopOpener& operator=(const ScopedDesktopOpener&) = delete;

  private:
    DesktopOpener previous_;
};

}  // namespace zel
