#include "platform/Shell.h"

#include <array>
#include <iostream>

#include "platform/FileSystem.h"
#include "platform/Opener.h"
#include "platform/Process.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

ShellNotice& currentNotice() {
    static ShellNotice notice = [](const std::string& text) {
        std::cerr << sjisToUtf8(text) << '\n';
    };
    return notice;
}

void showNotice(const std::string& text) {
    if (currentNotice()) currentNotice()(text);
}

bool isWebOrFileAddress(std::string_view p) {
    std::string head = lowerText(p.substr(0, 5));
    return head == "http:" || head == "https" || head == "file:";
}

// From the last "." of the last path component on; empty when there is none.
std::string lowerExtension(std::string_view p) {
    std::size_t slash = p.rfind('/');
    std::size_t dot = p.rfind('.');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
        return {};
    }
    return lowerText(p.substr(dot));
}

bool isViewerFile(std::string_view p) {
    static constexpr std::array<std::string_view, 6> kExtensions = {".html", ".htm", ".xml",
                                                                    ".txt",  ".ini", ".log"};
    std::string extension = lowerExtension(p);
    for (auto known : kExtensions) {
        if (extension == known) return true;
    }
    return false;
}

}  // namespace

ShellNotice setShellNotice(ShellNotice notice) {
    ShellNotice previous = std::move(currentNotice());
    currentNotice() = std::move(notice);
    return previous;
}

ShellAction chooseShellAction(std::string_view pathOrAddress) {
    std::string p = trimText(pathOrAddress);
    if (isWebOrFileAddress(p) || isViewerFile(p)) return {ShellAction::Open, p};
    std::string folder(folderOf(p));
    if (!folder.empty() && dirExists(folder)) return {ShellAction::Explore, folder};
    return {ShellAction::NotExists, p + " not exists"};
}

void openWithShell(std::string_view pathOrAddress) {
    ShellAction action = chooseShellAction(pathOrAddress);
    switch (action.verb) {
        case ShellAction::Open:
        case ShellAction::Explore:
            openOnDesktop(action.target);
            break;
        case ShellAction::NotExists:
            showNotice(action.target);
            break;
    }
}

std::string shellArgument(std::string_view target) {
    // xdg-open would read a leading "-" as an option of its own.
    return target.starts_with('-') ? "./" + std::string(target) : std::string(target);
}

bool shellOpen(std::string_view target, std::string_view workingFolder) {
    return startDetached({"xdg-open", shellArgument(target)}, workingFolder);
}

bool shellExplore(std::string_view folder, std::string_view workingFolder) {
    return shellOpen(folder, workingFolder);
}

std::string findProgramFor(std::string_view path) {
    FinishedRun type = runToEnd({"xdg-mime", "query", "filetype", std::string(path)});
    if (type.exitCode != 0 || type.lines.empty() || trimText(type.lines[0]).empty()) return {};
    FinishedRun program = runToEnd({"xdg-mime", "query", "default", trimText(type.lines[0])});
    if (program.exitCode != 0 || program.lines.empty()) return {};
    return trimText(program.lines[0]);
}

}  // namespace zel
