#pragma once
// The printing verbs of zel-tool: layout shows where the text printer puts
// every text on every page, with fixed metrics so paging can be checked to
// the pixel; print writes a node, a holder, the marked nodes or a text file
// to a PDF file through the same printer the window uses (in the GUI build).

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kLayoutVerb;
extern const ToolVerb kPrintVerb;

}  // namespace zel
