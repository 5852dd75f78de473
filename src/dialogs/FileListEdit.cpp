#include "dialogs/FileListEdit.h"

#include <algorithm>

#include "platform/FileSystem.h"
#include "platform/FolderListing.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

int addDroppedPaths(const std::vector<std::string>& paths, FileDropMode mode,
                    std::vector<std::string>& lines, const FileListBreak& breakRequested) {
    const std::size_t before = lines.size();
    bool stopped = false;
    // The listing asks before each folder; a Break seen there ends the drop too.
    const BreakPoll poll = [&] {
        if (!stopped && breakRequested && breakRequested()) stopped = true;
        return stopped;
    };
    for (const std::string& path : paths) {
        switch (mode) {
            case FileDropMode::FullName:
                lines.push_back(path);
                break;
            case FileDropMode::FileName:
                lines.push_back(fileNameOf(path));
                break;
            case FileDropMode::ExpandSubDir:
            case FileDropMode::DirectoryOnly:
                if (poll()) return static_cast<int>(lines.size() - before);
                if (dirExists(path)) {
                    if (mode == FileDropMode::ExpandSubDir)
                        listFilesRecursive(lines, path, poll);
                    else
                        listDirsRecursive(lines, path, poll);
                    if (stopped) return static_cast<int>(lines.size() - before);
                }
                lines.push_back(path);
                break;
            case FileDropMode::Poser:
                break;
        }
    }
    return static_cast<int>(lines.size() - before);
}

void addHeadToLines(std::vector<std::string>& lines, std::string_view word) {
    for (std::string& line : lines) line.insert(0, word);
}

void addTailToLines(std::vector<std::string>& lines, std::string_view word) {
    for (std::string& line : lines) line += word;
}

void deleteHeadOfLines(std::vector<std::string>& lines) {
    for (std::string& line : lines) line = splitFirstWord(line).second;
}

void numberLines(std::vector<std::string>& lines) {
    long long number = 0;
    for (std::string& line : lines) line.insert(0, formatNumber("%.5d", ++number) + " ");
}

void sortLines(std::vector<std::string>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const std::string& a, const std::string& b) {
        return compareText(a, b) < 0;
    });
}

void linkLinesAsHTML(std::vector<std::string>& lines) {
    for (std::string& line : lines) line = "<a href=\"" + line + "\" >" + line + "</a>";
}

}  // namespace zel
