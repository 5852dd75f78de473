#pragma once
// zel-tool run: the script language without the window.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kRunVerb;

}  // namespace zel
