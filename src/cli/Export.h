#pragma once
// The export verbs of zel-tool: export-html and calendar write the pages the
// window's HTML commands write, through the same engine, and open nothing.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kExportHtmlVerb;
extern const ToolVerb kCalendarVerb;

}  // namespace zel
