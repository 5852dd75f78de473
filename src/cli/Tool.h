#pragma once
// zel-tool: the headless command-line tool over the engines. It reads memo
// files and holder files, shows them as text or JSON, converts between their
// forms, checks their markup, and runs each engine's work without the window.

#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>
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
    // A wrong call: the message and a pointer to --help; yields 1.
    int usageError(std::string_view message) const;
};

// One verb of the tool. `args` are the words after the verb, options of the
// verb's own included, in the order given; the global options (--json, --raw,
// --help, --version) are taken out before.
struct ToolVerb {
    std::string_view name;
    std::string_view usage;  // the verb's lines of the --help text
    bool takesJson;
    int (*run)(const ToolOutput& io, const std::vector<std::string>& args);
};

// Every verb, in the order --help lists them.
const std::vector<ToolVerb>& toolVerbs();

// A verb's arguments split into words and options. `flags` take no value;
// `valued` options take the next argument and may repeat.
struct VerbArguments {
    std::vector<std::string> words;
    std::vector<std::string> flags;
    std::vector<std::pair<std::string, std::string>> values;

    bool has(std::string_view flag) const;
    // The last value given for `option`, or `fallback`.
    std::string value(std::string_view option, std::string_view fallback = {}) const;
    // Every value given for `option`, in order.
    std::vector<std::string> all(std::string_view option) const;
};
// False with `error` set on an unknown option or a missing value.
bool splitVerbArguments(const std::vector<std::string>& args,
                        std::initializer_list<std::string_view> flags,
                        std::initializer_list<std::string_view> valued, VerbArguments& split,
                        std::string& error);

// Runs zel-tool on `args` (without the program name); the exit status.
int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

int infoCommand(const ToolOutput& io, const std::string& path);
int convertCommand(const ToolOutput& io, const std::string& inPath, const std::string& outPath);
// `holderName` may be empty: the memo file's current holder (else its first).
int catCommand(const ToolOutput& io, const std::string& path, const std::string& holderName,
               const std::string& nodeName);
int checkCommand(const ToolOutput& io, const std::string& path);

}  // namespace zel
