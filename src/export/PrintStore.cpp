#include "export/PrintStore.h"

#include <optional>

#include "export/PrintIniFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::size_t kBytesPerLine = 32;
// A store of more lines than this (2 MB of settings) is not ours.
constexpr long long kMostLines = 65536;

std::string lineKey(std::string_view prefix, std::size_t index) {
    return std::string(prefix) + "_d" + std::to_string(index);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The number after prefix + "_d" in a key, or nothing.
std::optional<long long> lineIndexOf(std::string_view key, std::string_view prefix) {
    const std::string head = std::string(prefix) + "_d";
    if (key.size() <= head.size() || !sameText(key.substr(0, head.size()), head))
        return std::nullopt;
    const std::string_view digits = key.substr(head.size());
    if (!isAllDigits(digits)) return std::nullopt;
    return readInteger(digits);
}

}  // namespace

void storeHexLines(PrintIniFile& ini, std::string_view section, std::string_view prefix,
                   std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::size_t count = (bytes.size() + kBytesPerLine - 1) / kBytesPerLine;
    for (std::size_t line = 0; line < count; ++line) {
        const std::string_view part = bytes.substr(line * kBytesPerLine, kBytesPerLine);
        std::string hex;
        hex.reserve(part.size() * 2);
        for (unsigned char c : part) {
            hex += kDigits[c >> 4];
            hex += kDigits[c & 15];
        }
        ini.set(section, lineKey(prefix, line), hex);
    }
    for (const std::string& key : ini.keys(section)) {
        auto index = lineIndexOf(key, prefix);
        if (index && *index >= static_cast<long long>(count)) ini.remove(section, key);
    }
    const std::string countKey = std::string(prefix) + "_c";
    if (count == 0) {
        ini.remove(section, countKey);
    } else {
        ini.set(section, countKey, std::to_string(count));
    }
}

HexLoad loadHexLines(const PrintIniFile& ini, std::string_view section, std::string_view prefix,
                     std::string& bytes) {
    bytes.clear();
    auto countText = ini.value(section, std::string(prefix) + "_c");
    if (!countText) return HexLoad::Empty;
    auto count = readInteger(trimmedView(*countText));
    if (!count || *count < 0 || *count > kMostLines) return HexLoad::Invalid;
    std::string read;
    for (long long line = 0; line < *count; ++line) {
        auto hex = ini.value(section, lineKey(prefix, static_cast<std::size_t>(line)));
        if (!hex) return HexLoad::Invalid;
        const std::string_view digits = trimmedView(*hex);
        if (digits.size() % 2 != 0) return HexLoad::Invalid;
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const int high = hexDigit(digits[i]), low = hexDigit(digits[i + 1]);
            if (high < 0 || low < 0) return HexLoad::Invalid;
            read += static_cast<char>(high * 16 + low);
        }
    }
    if (read.empty()) return HexLoad::Empty;
    bytes = std::move(read);
    return HexLoad::Loaded;
}

IoResult TStoreComponent::saveToFile_(std::string_view path, std::string_view section,
                                      std::string_view prefix, std::string_view basePath) const {
    const std::string_view source = basePath.empty() ? path : basePath;
    std::string text;
    if (fileExists(source)) {
        IoResult read = readFile(source, text);
        if (!read) return read;
    }
    PrintIniFile ini(text);
    storeHexLines(ini, section, prefix, serialise_());
    return writeFileSafely(path, ini.text());
}

StoreLoad TStoreComponent::loadFromFile_(std::string_view path, std::string_view section,
                                         std::string_view prefix) {
    if (!fileExists(path)) return StoreLoad::Empty;
    std::string text;
    if (!readFile(path, text)) return StoreLoad::Unreadable;
    std::string bytes;
    switch (loadHexLines(PrintIniFile(text), section, prefix, bytes)) {
        case HexLoad::Empty:
            return StoreLoad::Empty;
        case HexLoad::Invalid:
            return StoreLoad::Invalid;
        case HexLoad::Loaded:
            break;
    }
    return deserialise_(bytes) ? StoreLoad::Loaded : StoreLoad::Invalid;
}

std::string PrintSettingsFiles::readPath() const {
    if (!fileExists(userConfig)) return beside;
    if (!fileExists(beside)) return userConfig;
    auto besideTime = fileModified(beside), userTime = fileModified(userConfig);
    return besideTime && userTime && *userTime > *besideTime ? userConfig : beside;
}

PrintSettingsFiles printSettingsFiles(std::string_view fileName, std::string_view exeDirectory) {
    PrintSettingsFiles files;
    std::string folder(exeDirectory);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    files.beside = folder + std::string(fileName);
    // Without an executable's folder the configuration path is the user's.
    files.userConfig = configFilePath(fileName, "");
    return files;
}

PrintSettingsFiles printSettingsFiles() {
    return printSettingsFiles("zelprint.ini", executableDirectory());
}

IoResult savePrintStore(const TStoreComponent& component, const PrintSettingsFiles& files,
                        std::string_view section, std::string_view prefix) {
    const std::string base = files.readPath();
    IoResult beside = component.saveToFile_(files.beside, section, prefix, base);
    if (beside) return beside;
    IoResult folder = makeDirs(folderOf(files.userConfig));
    if (!folder) return folder;
    return component.saveToFile_(files.userConfig, section, prefix, base);
}

}  // namespace zel
