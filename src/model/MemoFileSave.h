#pragma once
// Saving several files of one memo file as one step: the holders asked for,
// the container it was opened from, and its index (or container) last. Each
// file is checked against what was last read from or written to it, written
// to a temporary file, and only when every one is complete are they put in
// place together, so a crash, a full disk or another program's change leaves
// the old set or the new set, never a mix.

#include <string>
#include <utility>
#include <vector>

namespace zel {

class MemoFile;
class MemoHolder;

struct MemoFileSaveRequest {
    // Each holder and the file it goes to, in its format by extension. The
    // save is counted and its time stamped, as saveHolderFile_ does.
    std::vector<std::pair<MemoHolder*, std::string>> holders;
    // The memo file's own file (.mxa index, .maz container); empty for none.
    std::string indexPath;
    // Also the container the memo file was opened from (MemoFile::containerPath).
    bool container = false;
};

struct MemoFileSaveResult {
    bool ok = false;
    // Why nothing was written (the first file that could not be).
    std::string error;
    // Because of another writer: it holds a file's lock, or wrote a file
    // since it was read. The changes are all still in the model.
    bool conflict = false;
    // Each file written and its size (of the text before compression).
    std::vector<std::pair<std::string, long long>> written;
};

// Writes what `request` asks, all or nothing. On success the holders and the
// memo file are unchanged and remember the files as written; on failure the
// model stays exactly as it was (changed flags and save counts included).
MemoFileSaveResult saveMemoFileSet_(MemoFile& file, const MemoFileSaveRequest& request);

}  // namespace zel
