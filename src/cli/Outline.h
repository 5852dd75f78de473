#pragma once
// zel-tool outline: the outline tree the window shows for a node's memo
// text, and the memo text a write-back of that tree gives.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kOutlineVerb;

}  // namespace zel
