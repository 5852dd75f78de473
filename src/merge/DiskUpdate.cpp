#include "merge/DiskUpdate.h"

#include "merge/FileMerge.h"
#include "model/MemoHolder.h"

namespace zel {

namespace {

HolderUpdate failedUpdate(std::string why) {
    HolderUpdate update;
    update.error = std::move(why);
    return update;
}

// Merges `theirs` into `holder`, which then has unsaved changes.
HolderUpdate merged(MemoHolder& holder, const MemoHolder* base, const MemoHolder& theirs,
                    const MergeOptions& options) {
    HolderUpdate update;
    update.kind = HolderUpdateKind::Merged;
    update.report = mergeIntoHolder(holder, base, theirs, options);
    holder.changed = true;
    return update;
}

}  // namespace

HolderUpdate updateHolderFromDisk(std::string_view baseBytes, MemoHolder& holder,
                                  std::string_view newBytes, const MergeOptions& options) {
    if (!baseBytes.empty() && baseBytes == newBytes) {
        HolderUpdate update;
        update.kind = HolderUpdateKind::Unchanged;
        return update;
    }
    HolderCopy now;
    std::string error;
    if (!readHolderCopy(newBytes, "the holder file", now, error)) return failedUpdate(error);
    if (!holder.changed) {
        // With the holder as its own base every difference is theirs.
        HolderUpdate update;
        update.kind = HolderUpdateKind::Reloaded;
        update.report = mergeIntoHolder(holder, &holder, *now.holder, options);
        return update;
    }
    if (baseBytes.empty()) return merged(holder, nullptr, *now.holder, options);
    HolderCopy base;
    if (!readHolderCopy(baseBytes, "the holder as last read", base, error))
        return failedUpdate(error);
    return merged(holder, base.holder, *now.holder, options);
}

HolderUpdate mergeCopyIntoHolder(MemoHolder& holder, std::string_view copyBytes,
                                 const MergeOptions& options) {
    HolderCopy copy;
    std::string error;
    if (!readHolderCopy(copyBytes, options.theirsLabel, copy, error)) return failedUpdate(error);
    return merged(holder, nullptr, *copy.holder, options);
}

}  // namespace zel
