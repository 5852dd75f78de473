#pragma once
// What the window does when another program changed a holder's file while
// the holder is open: a holder without unsaved changes is read again, one
// with changes gets the other program's changes merged in. Either way the
// holder object stays, its nodes that are kept stay the same objects, and
// the current node stays current while it is kept, so views and references
// on them hold.

#include <string>
#include <string_view>

#include "merge/HolderMerge.h"

namespace zel {

class MemoHolder;

enum class HolderUpdateKind {
    Unchanged,  // the file holds what the holder last read or wrote
    Reloaded,   // no unsaved change: the holder is now what the file holds
    Merged,     // unsaved changes and the file's changes merged; the holder is changed
    Failed,     // the file could not be read; the holder is as it was
};

struct HolderUpdate {
    HolderUpdateKind kind = HolderUpdateKind::Failed;
    MergeReport report;  // the conflicts a merge kept
    std::string error;   // why it failed
};

// `baseBytes` are the bytes of the holder's file as the holder last read or
// wrote it (empty when unknown: a merge is then two-way), `newBytes` the file
// as it is now; either form of holder file. `holder.changed` tells whether
// there are unsaved changes; a merge leaves it set, a reload clear.
HolderUpdate updateHolderFromDisk(std::string_view baseBytes, MemoHolder& holder,
                                  std::string_view newBytes, const MergeOptions& options = {});

// Merges a sync engine's conflict copy of the holder's file into the holder:
// two-way, conflicts kept (marked with `options.theirsLabel`). The holder is
// changed afterwards.
HolderUpdate mergeCopyIntoHolder(MemoHolder& holder, std::string_view copyBytes,
                                 const MergeOptions& options);

}  // namespace zel
