#pragma once
// zel-tool: the headless command-line tool over the model. It reads memo
// files and holder files, shows them as text or JSON, converts between their
// forms and checks their markup.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// How the commands talk: UTF-8 on the terminal unless `raw` (Shift_JIS bytes
// as stored, also for names given as arguments); JSON when `json`.
struct ToolOutput {
    std::ostream& out;
    std::ostream& err;
    bool raw = false;
    bool json = false;

    // A model text as the terminal shows it.
    std::string shown(std::string_view sjis) const;
    // An argument as the model stores it.
    std::string stored(std::string_view argument) const;
    // "zel-tool: " + message on the error stream; yields the failure status 1.
    int fail(std::string_view sjisMessage) const;
};

// Runs zel-tool on `args` (without the program name); the exit status.
int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int infoCommand(const ToolOutput& io, const std::string& path);
int convertCommand(const ToolOutput& io, const std::string& inPath, const std::string& outPath);
// `holderName` may be empty: the memo file's current holder (else its first).
int catCommand(const ToolOutput& io, const std::string& path, const std::string& holderName,
               const std::string& nodeName);
int checkCommand(const ToolOutput& io, const std::string& path);

}  // namespace zel
