#pragma once
// Verbs that need Qt (printing) run in the zel program, which has it, so that
// zel-tool itself links no Qt and starts at once. The tool starts zel with the
// verb's words and passes its output and exit status on unchanged.

#include <string>
#include <string_view>
#include <vector>

#include "cli/Tool.h"

namespace zel {

// The zel program beside this zel-tool, else the one this build made; empty
// when there is none.
std::string windowProgramPath();

// Runs the zel program with `arguments`, its standard output and error
// copied to `io`'s streams as they come; its exit status (1 when it ended by
// a signal). Without the program, `what` (for example "printing") is said to
// need it, and the status is 1.
int handOverToWindowProgram(const ToolOutput& io, const std::vector<std::string>& arguments,
                            std::string_view what);

}  // namespace zel
