#include "platform/DesktopAssociation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/DesktopEntry.h"
#include "platform/DesktopPrograms.h"
#include "platform/FileSystem.h"
#include "platform/OsPath.h"
#include "platform/Process.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Written into every file registering makes, so removal can tell its own
// files from another program's.
constexpr std::string_view kAssociationMarker = "X-Zel-Association=true";
constexpr std::string_view kShortcutMarker = "X-Zel-Shortcut=true";
// The type's description, as the other desktop showed it: "own file format".
constexpr std::string_view kTypeComment = "独自のファイル形式";

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return withSlash(home && *home ? fromOsPath(home) : std::string("/"));
}

std::string baseDirectory(const char* variable, std::string_view fallbackInHome) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return withSlash(fromOsPath(value));
    return homeFolder() + std::string(fallbackInHome);
}

bool carries(std::string_view path, std::string_view marker) {
    std::string text;
    return readFile(path, text) && text.find(marker) != std::string::npos;
}

IoResult writeText(std::string_view path, std::string_view text) {
    if (IoResult made = makeDirs(folderOf(path)); !made) return made;
    return writeFileSafely(path, text);
}

// The tool's own words when it failed: the first line it wrote, if any.
DesktopOutcome runTool(const std::vector<std::string>& argv) {
    const FinishedRun run = runToEnd(argv);
    if (!run.started) return DesktopOutcome::failure(argv.front() + " could not be started");
    if (run.exitCode != 0) {
        std::string why = argv.front() + " failed (exit " + std::to_string(run.exitCode) + ")";
        if (!run.lines.empty()) why += ": " + trimText(run.lines.front());
        return DesktopOutcome::failure(why);
    }
    return {};
}

DesktopOutcome rebuildMimeDatabase() {
    return runTool({"update-mime-database", userDataHome() + "mime"});
}

// The desktop's cache of which entries open which types; only where the
// tool is installed (desktop-file-utils).
DesktopOutcome rebuildDesktopDatabase() {
    if (findOnPath("update-desktop-database").empty()) return {};
    return runTool({"update-desktop-database", userDataHome() + "applications"});
}

bool isOurType(std::string_view key) {
    return key == kMemoIndexType || key == kMemoContainerType;
}

// mimeapps.list without our entry among the programs of our two types; a
// line left with no program goes. False when nothing had to change.
bool withoutOurDefaults(const std::string& text, std::string& result) {
    bool changed = false;
    for (const std::string& line : textLines(text)) {
        const std::size_t equals = line.find('=');
        if (line.starts_with('[') || equals == std::string::npos ||
            !isOurType(trimText(line.substr(0, equals)))) {
            result += line + "\n";
            continue;
        }
        std::string kept;
        bool dropped = false;
        // The file is UTF-8: split on the byte, not with the Shift_JIS helpers.
        std::string_view programs = std::string_view(line).substr(equals + 1);
        while (!programs.empty()) {
            const std::size_t semicolon = programs.find(';');
            const std::string_view entry = trimmedView(programs.substr(0, semicolon));
            if (entry == kDesktopEntryName)
                dropped = true;
            else if (!entry.empty())
                kept += std::string(entry) + ";";
            if (semicolon == std::string_view::npos) break;
            programs.remove_prefix(semicolon + 1);
        }
        if (!dropped) {
            result += line + "\n";
            continue;
        }
        changed = true;
        if (!kept.empty()) result += line.substr(0, equals + 1) + kept + "\n";
    }
    return changed;
}

DesktopOutcome removeOurDefaults() {
    const std::string path = userConfigHome() + "mimeapps.list";
    std::string text;
    if (!fileExists(path) || !readFile(path, text)) return {};
    std::string result;
    if (!withoutOurDefaults(text, result)) return {};
    if (IoResult written = writeFileSafely(path, result); !written)
        return DesktopOutcome::failure(written.message);
    return {};
}

// A file of ours may be replaced or removed; anything else of that name is
// another program's or the user's.
bool isForeign(std::string_view path, std::string_view marker) {
    return pathExists(path) && !carries(path, marker);
}

std::string folderOfProgram(std::string_view programOsPath) {
    const std::size_t slash = programOsPath.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return slash == 0 ? std::string("/") : std::string(programOsPath.substr(0, slash));
}

}  // namespace

std::string userDataHome() {
    return baseDirectory("XDG_DATA_HOME", ".local/share/");
}

std::string userConfigHome() {
    return baseDirectory("XDG_CONFIG_HOME", ".config/");
}

std::string associationMimeFile() {
    return userDataHome() + "mime/packages/zel.xml";
}

std::string associationDesktopFile() {
    return userDataHome() + "applications/" + std::string(kDesktopEntryName);
}

namespace {

// Registering and an installed package describe the types and the entry in
// the same words; only the program's path and the mark of registering differ.
std::string mimeXml(std::string_view note) {
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- " +
        std::string(note) +
        " -->\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (auto [type, glob] : {std::pair{kMemoIndexType, "*.mxa"}, {kMemoContainerType, "*.maz"}}) {
        xml += "  <mime-type type=\"" + std::string(type) + "\">\n";
        xml += "    <comment>" + std::string(kTypeComment) + "</comment>\n";
        xml += "    <glob pattern=\"" + std::string(glob) + "\"/>\n";
        xml += "  </mime-type>\n";
    }
    return xml + "</mime-info>\n";
}

std::string applicationEntry(std::string_view exec, std::string_view trailer) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=zel\n"
           "GenericName=Memo card manager\n"
           "Comment=Keep notes, bookmarks, file links and pictures as memo cards\n"
           "Exec=" +
           std::string(exec) +
           "\n"
           "Icon=" +
           std::string(kIconName) +
           "\n"
           "Terminal=false\n"
           "Categories=Office;\n"
           "MimeType=" +
           std::string(kMemoIndexType) + ";" + std::string(kMemoContainerType) + ";\n" +
           std::string(trailer);
}

}  // namespace

std::string associationMimeXml() {
    return mimeXml(std::string(kAssociationMarker) +
                   ": written by zel's Associate, removed by its Unassociate.");
}

std::optional<std::string> associationDesktopEntry(std::string_view programOsPath) {
    const std::optional<std::string> exec = desktopExecLine({std::string(programOsPath)}, "%f");
    if (!exec) return std::nullopt;
    return applicationEntry(*exec, std::string(kAssociationMarker) + "\n");
}

std::string installedMimeXml() {
    return mimeXml("The file types of zel, installed with the program.");
}

std::string installedDesktopEntry() {
    return applicationEntry(*desktopExecLine({std::string(kProgramName)}, "%f"), {});
}

DesktopOutcome associateMemoFiles(std::string_view programOsPath) {
    const std::optional<std::string> entry = associationDesktopEntry(programOsPath);
    if (!entry)
        return DesktopOutcome::failure("the program's path cannot stand in a desktop file: " +
                                       fromOsPath(programOsPath));
    const std::string mimeFile = associationMimeFile();
    const std::string desktopFile = associationDesktopFile();
    for (const std::string& path : {mimeFile, desktopFile})
        if (isForeign(path, kAssociationMarker))
            return DesktopOutcome::failure(path + " was not written by zel; it stays as it is");

    // Whatever this call wrote goes again when a later step fails.
    bool wroteMime = false;
    auto undo = [&](DesktopOutcome failed) {
        if (carries(desktopFile, kAssociationMarker)) removeFile(desktopFile);
        if (wroteMime && carries(mimeFile, kAssociationMarker)) {
            removeFile(mimeFile);
            rebuildMimeDatabase();
        }
        removeOurDefaults();
        rebuildDesktopDatabase();
        return failed;
    };
    if (IoResult written = writeText(mimeFile, associationMimeXml()); !written)
        return undo(DesktopOutcome::failure(written.message));
    wroteMime = true;
    if (IoResult written = writeText(desktopFile, *entry); !written)
        return undo(DesktopOutcome::failure(written.message));
    if (DesktopOutcome built = rebuildMimeDatabase(); !built.ok) return undo(built);
    if (DesktopOutcome built = rebuildDesktopDatabase(); !built.ok) return undo(built);
    DesktopOutcome made = runTool({"xdg-mime", "default", std::string(kDesktopEntryName),
                                   std::string(kMemoIndexType), std::string(kMemoContainerType)});
    if (!made.ok) return undo(made);
    return {};
}

DesktopOutcome unassociateMemoFiles() {
    DesktopOutcome outcome;
    auto fail = [&](std::string why) {
        if (outcome.ok) outcome = DesktopOutcome::failure(std::move(why));
    };
    bool removedMime = false;
    for (const std::string& path : {associationMimeFile(), associationDesktopFile()}) {
        if (!carries(path, kAssociationMarker)) continue;
        if (IoResult removed = removeFile(path); !removed)
            fail(removed.message);
        else if (path == associationMimeFile())
            removedMime = true;
    }
    if (DesktopOutcome defaults = removeOurDefaults(); !defaults.ok) fail(defaults.reason);
    if (removedMime)
        if (DesktopOutcome built = rebuildMimeDatabase(); !built.ok) fail(built.reason);
    if (DesktopOutcome built = rebuildDesktopDatabase(); !built.ok) fail(built.reason);
    return outcome;
}

std::string desktopFolder() {
    const FinishedRun run = runToEnd({"xdg-user-dir", "DESKTOP"});
    if (!run.started || run.exitCode != 0 || run.lines.empty()) return {};
    const std::string folder = trimText(run.lines.front());
    if (folder.empty() || folder.front() != '/' || !dirExists(folder)) return {};
    return withSlash(folder);
}

std::optional<std::string> shortcutEntry(std::string_view programOsPath) {
    const std::optional<std::string> exec = desktopExecLine({std::string(programOsPath)});
    const std::string folder = folderOfProgram(programOsPath);
    if (!exec || !isUtf8(folder)) return std::nullopt;
    for (char c : folder)
        if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=zel\n"
           "Comment=Keep notes, bookmarks, file links and pictures as memo cards\n"
           "Exec=" +
           *exec +
           "\n"
           "Path=" +
           desktopStringValue(folder) +
           "\n"
           "Icon=" +
           std::string(kIconName) +
           "\n"
           "Terminal=false\n" +
           std::string(kShortcutMarker) + "\n";
}

DesktopOutcome makeDesktopShortcut(std::string_view folder, std::string_view programOsPath,
                                   std::string* written) {
    if (folder.empty() || !dirExists(folder))
        return DesktopOutcome::failure("there is no desktop folder");
    const std::optional<std::string> entry = shortcutEntry(programOsPath);
    if (!entry)
        return DesktopOutcome::failure("the program's path cannot stand in a desktop file: " +
                                       fromOsPath(programOsPath));
    const std::string path = withSlash(std::string(folder)) + std::string(kDesktopEntryName);
    if (isForeign(path, kShortcutMarker))
        return DesktopOutcome::failure(path + " is not a zel shortcut; it stays as it is");
    if (IoResult saved = writeFileSafely(path, *entry); !saved)
        return DesktopOutcome::failure(saved.message);
    // Desktops start only entries marked executable.
    if (::chmod(toOsPath(path).c_str(), 0755) != 0) {
        removeFile(path);
        return DesktopOutcome::failure(errnoFailure("chmod", path, errno).message);
    }
    if (written) *written = path;
    return {};
}

std::string programOsPath(std::string_view modelPath) {
    std::vector<char> buffer(PATH_MAX);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) {
        std::string running(buffer.data(), static_cast<std::size_t>(n));
        if (fromOsPath(running) == modelPath) return running;
    }
    return toOsPath(modelPath);
}

}  // namespace zel
