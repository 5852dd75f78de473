#pragma once
// zel-tool merge and merge-copy: memo files merged node by node, as git's
// merge driver and for the conflict copies sync engines leave.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kMergeVerb;
extern const ToolVerb kMergeCopyVerb;

}  // namespace zel
