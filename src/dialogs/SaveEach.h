#pragma once
// "Save Each" of the save-each window: the body of every node of a holder
// (or of its marked nodes) written to the file its Filename names, or into
// one chosen folder under the file-name part of that name, with a question
// before a file is written over and a log line for everything that happened.
// The window and zel-tool save-each run this.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class MemoHolder;

struct SaveEachOptions {
    // "Define Save Directory": every file goes into the chosen folder.
    bool defineDirectory = true;
    // "Confirm Write Over": ask before an existing file is replaced.
    bool confirmWriteOver = true;
    // "Mark Node Only"
    bool markedOnly = false;
    // "Change Filename": a saved node's Filename names the file written.
    bool changeFilename = false;
};

enum class WriteOverAnswer { Yes, No, Cancel };

struct SaveEachCalls {
    // Asked "Shall I Write Over "f" ?"; without one every file is written over.
    std::function<WriteOverAnswer(const std::string& question)> askWriteOver;
    // Asked before each node that has a file name (it may let window events
    // through); true ends the run.
    std::function<bool()> breakRequested;
};

struct SaveEachResult {
    int saved = 0;
    // The last log line: "Done: count of the Files saved=" and the count, or
    // "ERROR: SaveEach" when there was no holder or Break ended the run.
    std::string finalText;
};

// Appends a line to `log` for every event and the final text as the last
// line. With a folder, a node's file is always a direct child of it (its name
// reduced to a plain file name, never a path from an address, never ".."),
// and without one, relative names lie beside the holder's file and web
// addresses are never taken for paths. A linked body not read yet is read
// first, and skipped when that fails, so its file is never written empty; a
// linked body is not written over its own file. Every write is checked: a
// failure is logged and not counted. A changed Filename marks the holder
// changed. The files are put in place together, with one sync for them all,
// each either wholly new or left as it was.
SaveEachResult saveEach(MemoHolder* holder, std::string_view directory,
                        const SaveEachOptions& options, const SaveEachCalls& calls,
                        std::vector<std::string>& log);

}  // namespace zel
