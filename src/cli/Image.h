#pragma once
// zel-tool image: an image node's picture, what it is and whether it reads,
// and its conversion to JPEG or BMP by the window's rules.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kImageVerb;

}  // namespace zel
