#pragma once
// The search verbs of zel-tool: grep, scan and replace over the holders of a
// memo file or one holder file, through the engine the search windows use.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kGrepVerb;
extern const ToolVerb kScanVerb;
extern const ToolVerb kReplaceVerb;

}  // namespace zel
