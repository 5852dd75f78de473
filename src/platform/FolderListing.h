#pragma once
// Listing every file or every folder below a folder, for file-list nodes.
// Entries come in the order the file system gives, hidden ones included; a
// link is listed as a file and never followed, so a link loop cannot trap the
// listing.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// Called once before each folder is entered: lets pending window events
// through and answers whether Break has been pressed.
using BreakPoll = std::function<bool()>;

// Appends the full path of every file below `folder` (a "/" is put after the
// folder unless it ends with one). When Break is pressed the listing ends
// after the folder being listed. Yields how many paths were appended.
int listFilesRecursive(std::vector<std::string>& list, std::string_view folder,
                       const BreakPoll& poll);
// Appends the full path of every folder below `folder`, deeper folders before
// the folders that hold them; a folder whose listing was broken off is not
// appended. Yields how many paths were appended.
int listDirsRecursive(std::vector<std::string>& list, std::string_view folder,
                      const BreakPoll& poll);

}  // namespace zel
