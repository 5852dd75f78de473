#pragma once
// The desktop shell: opening files, folders and addresses with the programs
// the desktop associates with them (xdg-open), and asking which program that
// is (xdg-mime). Paths and addresses are Shift_JIS model text.

#include <functional>
#include <string>
#include <string_view>

namespace zel {

// The box with the single button OK that openWithShell shows; the user
// interface installs one, until then the text goes to standard error.
using ShellNotice = std::function<void(const std::string&)>;
// Installs `notice` and returns the one it replaces (restore it when done).
ShellNotice setShellNotice(ShellNotice notice);

struct ShellAction {
    enum Verb { Open, Explore, NotExists };
    Verb verb = Open;
    std::string target;  // what is opened or explored; the notice text for NotExists
};
// What openWithShell does with `pathOrAddress`: addresses and files that a
// viewer shows (.html .htm .xml .txt .ini .log) are opened; for anything else
// the folder it lies in is explored, or the user told that it does not exist.
ShellAction chooseShellAction(std::string_view pathOrAddress);
// Acts as chooseShellAction says, through the desktop opener.
void openWithShell(std::string_view pathOrAddress);

// Hands `target` to the desktop (xdg-open, as one argument: a leading "-"
// becomes "./-") without waiting; false when that could not start. An empty
// working folder means the current one. Commands reach these through the
// replaceable opener (Opener.h), openWithShell included.
bool shellOpen(std::string_view target, std::string_view workingFolder = {});
bool shellExplore(std::string_view folder, std::string_view workingFolder = {});
// What xdg-open is handed for `target`.
std::string shellArgument(std::string_view target);

// The desktop entry (for example "org.gnome.TextEditor.desktop") that opens
// files of the type of `path`; empty when the desktop knows none.
std::string findProgramFor(std::string_view path);

}  // namespace zel
