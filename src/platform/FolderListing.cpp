#include "platform/FolderListing.h"

#include "platform/FileSystem.h"

namespace zel {
namespace {

struct Listing {
    std::vector<std::string>& list;
    const BreakPoll& poll;
    bool wantFiles;
    bool stopped = false;

    void pollBreak() {
        if (poll && poll()) stopped = true;
    }

    // Break is read as the original listing read it: pressed before a folder
    // is entered, that folder is still listed (its own subfolders then stop
    // at once) and the listing ends after it.
    int walk(std::string_view folder) {
        std::string prefix(folder);
        if (prefix.empty() || prefix.back() != '/') prefix += '/';
        std::vector<FolderEntry> entries;
        listFolder(prefix, entries);
        int count = 0;
        for (const auto& entry : entries) {
            std::string path = prefix + entry.name;
            if (!entry.isDir) {
                if (wantFiles) {
                    list.push_back(std::move(path));
                    ++count;
                }
                continue;
            }
            pollBreak();
            count += walk(path);
            if (stopped) return count;
            if (!wantFiles) {
                list.push_back(std::move(path));
                ++count;
            }
        }
        return count;
    }
};

}  // namespace

int listFilesRecursive(std::vector<std::string>& list, std::string_view folder,
                       const BreakPoll& poll) {
    return Listing{list, poll, true}.walk(folder);
}

int listDirsRecursive(std::vector<std::string>& list, std::string_view folder,
                      const BreakPoll& poll) {
    return Listing{list, poll, false}.walk(folder);
}

}  // namespace zel
