#pragma once
// What the tests of zel-tool's verbs share: a fresh folder per test, paths in
// it as the command line spells them, a verb run in the process with its exit
// status and both streams, and files read back whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Tool.h"
#include "support/TempFolder.h"

namespace zel::test {

struct VerbOutcome {
    int status;
    std::string out;
    std::string err;
};

// A verb run in this process, as the command line would run it.
inline VerbOutcome runVerb(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    const int status = runTool(args, out, err);
    return {status, out.str(), err.str()};
}

inline std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class VerbTest : public ::testing::Test {
  protected:
    using Outcome = VerbOutcome;

    static Outcome run(const std::vector<std::string>& args) { return runVerb(args); }
    // A UTF-8 path for the command line.
    std::string arg(std::string_view name) const { return folder.osPath(name).string(); }
    // The bytes of a file in the folder.
    std::string bytes(std::string_view name) const { return bytesOf(folder.osPath(name)); }

    TempFolder folder;
};

}  // namespace zel::test
