#pragma once
// zel-tool fields: the field window's scan and its Set, Replace and Delete
// over the holders of a memo file or one holder file.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kFieldsVerb;

}  // namespace zel
