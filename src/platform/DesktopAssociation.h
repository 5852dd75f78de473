#pragma once
// Registering the memo file types with the desktop, for the current user:
// a shared-mime-info package that names ".mxa" and ".maz", a desktop entry
// that opens them with this program, and the program made their default.
// Removal takes away only what registering wrote; another program's files
// and choices stay. The desktop shortcut to the program lives here too.
//
// Paths in results and arguments are model (Shift_JIS) paths, except the
// program's path, which goes into UTF-8 desktop files as the file system
// spells it (see programOsPath).

#include <optional>
#include <string>
#include <string_view>

namespace zel {

inline constexpr std::string_view kMemoIndexType = "application/x-zel-memo-index";
inline constexpr std::string_view kMemoContainerType = "application/x-zel-memo-container";
// The name of the association's desktop entry and of the shortcut.
inline constexpr std::string_view kDesktopEntryName = "zel.desktop";
// The icon every entry names; the package installs it in the hicolor theme.
inline constexpr std::string_view kIconName = "zel";
// The window's program as an installed entry starts it, found in PATH.
inline constexpr std::string_view kProgramName = "zel";

// How a desktop step ended; `reason` (Shift_JIS) says what failed.
struct DesktopOutcome {
    bool ok = true;
    std::string reason;

    static DesktopOutcome failure(std::string why) { return {false, std::move(why)}; }
};

// $XDG_DATA_HOME (default ~/.local/share) and $XDG_CONFIG_HOME (default
// ~/.config), each ending with "/"; a relative value is ignored, as the base
// directory specification asks.
std::string userDataHome();
std::string userConfigHome();

// The files registering writes: <data>/mime/packages/zel.xml and
// <data>/applications/zel.desktop.
std::string associationMimeFile();
std::string associationDesktopFile();

// What they hold (UTF-8). The entry is none when the program's path cannot
// stand in a desktop file.
std::string associationMimeXml();
std::optional<std::string> associationDesktopEntry(std::string_view programOsPath);

// What a package installs under <prefix>/share as mime/packages/zel.xml and
// applications/zel.desktop: the same types, globs, icon and field code as
// registering writes, the program named without a folder, and without the
// mark of registering (an installed file is never the user's to remove).
std::string installedMimeXml();
std::string installedDesktopEntry();

// Writes both files, rebuilds the user's MIME database (update-mime-database)
// and makes the entry the default for both types (xdg-mime default). A file
// of the same name that registering did not write is never replaced. On any
// failure whatever this call wrote is taken away again.
DesktopOutcome associateMemoFiles(std::string_view programOsPath);
// Removes the two files when registering wrote them, and the entry's name
// from the defaults of the two types in <config>/mimeapps.list, then rebuilds
// the MIME database.
DesktopOutcome unassociateMemoFiles();

// The user's desktop folder as xdg-user-dir tells it, ending with "/";
// empty when it names no existing folder.
std::string desktopFolder();
// The shortcut's text: an application entry that runs the program in its
// own folder. None when the path cannot stand in a desktop file.
std::optional<std::string> shortcutEntry(std::string_view programOsPath);
// Writes <folder>zel.desktop, executable (0755), unless a file of that name
// that is not a zel shortcut is there. `written` receives its path.
DesktopOutcome makeDesktopShortcut(std::string_view folder, std::string_view programOsPath,
                                   std::string* written = nullptr);

// The program's path for desktop files: the bytes of /proc/self/exe when
// `modelPath` names the running program (so no character is lost to a
// conversion), else `modelPath` as the file system spells it.
std::string programOsPath(std::string_view modelPath);

}  // namespace zel
