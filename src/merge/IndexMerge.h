#pragma once
// Three-way merge of memo file indexes: the memo file's fields and memo text,
// and its holder list. Holders carry no UID: they are matched by the name of
// their file, so a renamed holder is one holder gone and another added.

#include "merge/HolderMerge.h"

namespace zel {

class MemoFile;

// Merges `theirs` into `ours` in place, with the holder list's rules of
// mergeIntoHolder for nodes: a holder added on either side is kept, one
// deleted on one side and unchanged on the other is dropped. A holder's
// fields (FlagReadOnly, FileExt) merge key by key; what both changed
// differently keeps ours, with a line in the report. Holders of ours that are
// kept stay the same objects; holders taken from theirs are new and not loaded.
MergeReport mergeIntoMemoFile(MemoFile& ours, const MemoFile* base, const MemoFile& theirs);

}  // namespace zel
