#pragma once
// Runs scripts through the interpreter with a host that collects what Print
// writes, so each test states a script, its lines and its error.

#include <string>
#include <vector>

#include "script/TPoorPascal.h"

namespace zel::test {

struct ScriptRun {
    bool ok = false;
    std::vector<std::string> lines;  // UTF-8
    std::string error;               // UTF-8
};

// The script (UTF-8, converted to Shift_JIS) run with "procedure
// Print(S:String);Index 1;" and `prototypes` declared.
ScriptRun runScript(TPoorPascal& pp, const std::string& utf8Script,
                    const std::vector<std::string>& prototypes = {});
ScriptRun runScript(const std::string& utf8Script, const std::vector<std::string>& prototypes = {});

}  // namespace zel::test
