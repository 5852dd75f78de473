#include "platform/Environment.h"

#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/OsPath.h"

namespace zel {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? fromOsPath(value) : std::string();
}

std::string withSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

const passwd* passwdEntry() {
    return ::getpwuid(::geteuid());
}

}  // namespace

std::string tempDirectory() {
    std::string dir = environment("TMPDIR");
    return dir.empty() ? "/tmp/" : withSlash(dir);
}

std::string userName() {
    std::string user = environment("USER");
    if (!user.empty()) return user;
    const passwd* entry = passwdEntry();
    return entry && entry->pw_name ? fromOsPath(entry->pw_name) : std::string();
}

std::string computerName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return fromOsPath(name);
}

std::string currentDirectory() {
    std::error_code failure;
    const std::string folder = fromOsPath(std::filesystem::current_path(failure).string());
    return folder.empty() ? "/" : withSlash(folder);
}

std::string homeDirectory() {
    std::string home = environment("HOME");
    if (home.empty()) {
        const passwd* entry = passwdEntry();
        if (entry && entry->pw_dir) home = fromOsPath(entry->pw_dir);
    }
    return home.empty() ? "/" : withSlash(home);
}

std::string executablePath() {
    std::vector<char> buffer(PATH_MAX);
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return {};
    return fromOsPath(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
}

std::string executableDirectory() {
    std::string exe = executablePath();
    return exe.substr(0, exe.rfind('/') + 1);
}

std::string configFilePath(std::string_view fileName, std::string_view exeDirectory) {
    std::string beside = withSlash(std::string(exeDirectory)) + std::string(fileName);
    if (!exeDirectory.empty() && fileExists(beside)) return beside;
    std::string config = environment("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    if (config.empty() || config.front() != '/') config = homeDirectory() + ".config";
    return withSlash(config) + "zel/" + std::string(fileName);
}

}  // namespace zel
