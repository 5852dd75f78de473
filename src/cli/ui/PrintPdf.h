#pragma once
// zel-tool's print verb as the zel program runs it ("zel --print ..."): the
// same words, read as zel-tool reads them, printed to PDF through the
// window's printer (Qt Print Support), with zel-tool's messages.

namespace zel {

// `argc`/`argv` are the words after "--print"; "--raw" among them is the tool's
// global option. The verb's exit status.
int runPrintVerb(int argc, char** argv);

}  // namespace zel
