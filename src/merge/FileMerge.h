#pragma once
// Merging files as they are stored: holder files (.mxh markup, .mhz the same
// compressed) and memo file indexes (.mxa). What a file is comes from its
// bytes, not its name, since git hands a merge driver temporary files.

#include <string>
#include <string_view>

#include "merge/HolderMerge.h"
#include "model/MemoFile.h"

namespace zel {

class MemoHolder;

// A holder read from the bytes of a holder file, in a memo file of its own
// so that it answers its memo file as holders do.
struct HolderCopy {
    MemoFile file;
    MemoHolder* holder = nullptr;
    bool compressed = false;  // the bytes were a zlib stream
};

// Reads the bytes of a holder file of either form into `copy` (fresh); the
// holder is named as its `Holder` element says. False with `error` set when
// they hold no readable holder. `origin` names the bytes in messages.
bool readHolderCopy(std::string_view bytes, std::string_view origin, HolderCopy& copy,
                    std::string& error);

enum class MergeStatus { Clean = 0, Conflicts = 1, Failed = 2 };

struct FileMerge {
    MergeStatus status = MergeStatus::Failed;
    std::string bytes;  // the merged file, in the form ours has
    MergeReport report;
    std::string error;  // why it failed
};

// Merges three versions of one holder file or one index. An empty `base`
// means no common version is known: a two-way merge that keeps conflicts.
FileMerge mergeFileBytes(std::string_view base, std::string_view ours, std::string_view theirs,
                         const MergeOptions& options = {});

}  // namespace zel
