#pragma once
// zel-tool import-files, save-each and desktop: the file list window's Make
// Nodes, the save-each window, and the desktop registration, without the
// window.

#include "cli/Tool.h"

namespace zel {

extern const ToolVerb kImportFilesVerb;
extern const ToolVerb kSaveEachVerb;
extern const ToolVerb kDesktopVerb;

}  // namespace zel
