#include "platform/DesktopPrograms.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdlib>

#include "platform/OsPath.h"
#include "platform/Process.h"

namespace zel {

namespace {

ProgramStarter& installed() {
    static ProgramStarter starter;
    return starter;
}

bool isExecutableFile(const std::string& osPath) {
    struct stat info {};
    return ::stat(osPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(osPath.c_str(), X_OK) == 0;
}

}  // namespace

ProgramStarter setProgramStarter(ProgramStarter starter) {
    return std::exchange(installed(), std::move(starter));
}

bool startProgram(const std::vector<std::string>& argv, std::string_view workingFolder) {
    const ProgramStarter& starter = installed();
    return starter ? starter(argv, workingFolder) : startDetached(argv, workingFolder);
}

std::string findOnPath(std::string_view name) {
    if (name.empty()) return {};
    const std::string osName = toOsPath(name);
    if (osName.find('/') != std::string::npos)
        return isExecutableFile(osName) ? std::string(name) : std::string();
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        const std::size_t colon = folders.find(':');
        const std::string_view entry = folders.substr(0, colon);
        // An empty entry of PATH means the current folder.
        const std::string folder(entry.empty() ? std::string_view(".") : entry);
        const std::string candidate = folder + "/" + osName;
        if (isExecutableFile(candidate)) return fromOsPath(candidate);
        if (colon == std::string_view::npos) return {};
        folders.remove_prefix(colon + 1);
    }
}

bool isProgramFile(std::string_view path) {
    const std::string osPath = toOsPath(path);
    const std::size_t dot = osPath.rfind('.');
    if (dot != std::string::npos && osPath.find('/', dot) == std::string::npos) {
        std::string extension = osPath.substr(dot);
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (extension == ".desktop") return true;
    }
    return isExecutableFile(osPath);
}

std::string findCalculator() {
    static constexpr std::array<std::string_view, 4> kCalculators = {"gnome-calculator", "kcalc",
                                                                     "galculator", "xcalc"};
    for (std::string_view name : kCalculators)
        if (std::string found = findOnPath(name); !found.empty()) return found;
    return {};
}

std::string findTerminal() {
    if (std::string found = findOnPath("x-terminal-emulator"); !found.empty()) return found;
    const char* terminal = std::getenv("TERMINAL");
    return terminal ? findOnPath(fromOsPath(terminal)) : std::string();
}

}  // namespace zel
