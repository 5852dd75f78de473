#pragma once
// Three-way merge of a record's fields, key by key (letter case ignored).

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/FieldList.h"

namespace zel {

struct FieldMerge {
    FieldList ours;    // each conflict resolved to our line (or its absence)
    FieldList theirs;  // each conflict resolved to theirs
    // The keys both sides changed differently (or one deleted, the other changed).
    std::vector<std::string> conflicts;
};

// `base` null: no common version known. Lines whose key is one of `oursKeys`
// come from ours whatever the others hold: settings kept outside the fields,
// which the caller merges itself.
FieldMerge mergeFields(const FieldList* base, const FieldList& ours, const FieldList& theirs,
                       std::span<const std::string_view> oursKeys = {});

}  // namespace zel
