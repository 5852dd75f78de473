#pragma once
// zel --run SCRIPT [FILE] ...: a script run in the real window without
// showing it, with no question ever waiting for a person.

namespace zel {

// Runs the batch call of `argv` (which holds "--run"); the exit status.
int runBatch(int argc, char** argv);

}  // namespace zel
