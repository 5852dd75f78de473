#include "cli/Tool.h"

#include <algorithm>
#include <new>
#include <ostream>

#include "platform/WriterLock.h"
#include "text/Sjis.h"

#ifndef ZEL_VERSION
#define ZEL_VERSION "unknown"
#endif

namespace zel {

namespace {

constexpr std::string_view kUsageHead = R"(Usage: zel-tool [OPTIONS] COMMAND ARGUMENTS

Reads, shows, converts and checks zel memo files (.mxa index, .maz container)
and holder files (.mxh plain, .mhz compressed), and runs the program's engines
on them without the window.

Commands:
)";

constexpr std::string_view kUsageTail = R"(
Options:
  --json      JSON output, for the commands that offer it (UTF-8 strings;
              field values as stored)
  --raw       Shift_JIS bytes as stored instead of UTF-8, also for names given
              as arguments
  --help      this text
  --version   the version

Exit status: 0 on success, 1 on any failure.
)";

struct Invocation {
    bool json = false;
    bool raw = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> words;
};

// The global options may stand anywhere; everything else, a verb's own
// options included, stays in order for the verb. "--" ends option reading.
Invocation parseArguments(const std::vector<std::string>& args) {
    Invocation call;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        if (optionsEnded) {
            call.words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
            call.words.push_back(arg);
        } else if (arg == "--json") {
            call.json = true;
        } else if (arg == "--raw") {
            call.raw = true;
        } else if (arg == "--help" || arg == "-h") {
            call.help = true;
        } else if (arg == "--version") {
            call.version = true;
        } else {
            call.words.push_back(arg);
        }
    }
    return call;
}

const ToolVerb* findVerb(std::string_view name) {
    const auto& verbs = toolVerbs();
    auto it = std::find_if(verbs.begin(), verbs.end(),
                           [name](const ToolVerb& verb) { return verb.name == name; });
    return it == verbs.end() ? nullptr : &*it;
}

void printUsage(std::ostream& out) {
    out << kUsageHead;
    for (const ToolVerb& verb : toolVerbs()) out << verb.usage;
    out << kUsageTail;
}

bool isOption(const std::string& arg) {
    return arg.size() >= 2 && arg[0] == '-';
}

bool listed(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::string ToolOutput::shown(std::string_view sjis) const {
    return raw ? std::string(sjis) : sjisToUtf8(sjis);
}

std::string ToolOutput::stored(std::string_view argument) const {
    return raw ? std::string(argument) : utf8ToSjis(argument);
}

int ToolOutput::fail(std::string_view sjisMessage) const {
    err << "zel-tool: " << shown(sjisMessage) << '\n';
    return 1;
}

int ToolOutput::usageError(std::string_view message) const {
    err << "zel-tool: " << message << "\nTry 'zel-tool --help'.\n";
    return 1;
}

bool VerbArguments::has(std::string_view flag) const {
    return std::find(flags.begin(), flags.end(), flag) != flags.end();
}

std::string VerbArguments::value(std::string_view option, std::string_view fallback) const {
    for (auto it = values.rbegin(); it != values.rend(); ++it)
        if (it->first == option) return it->second;
    return std::string(fallback);
}

std::vector<std::string> VerbArguments::all(std::string_view option) const {
    std::vector<std::string> found;
    for (const auto& [name, value] : values)
        if (name == option) found.push_back(value);
    return found;
}

bool splitVerbArguments(const std::vector<std::string>& args,
                        std::initializer_list<std::string_view> flags,
                        std::initializer_list<std::string_view> valued, VerbArguments& split,
                        std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || !isOption(arg)) {
            split.words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (listed(flags, arg)) {
            split.flags.push_back(arg);
        } else if (listed(valued, arg)) {
            if (i + 1 == args.size()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            split.values.emplace_back(arg, args[++i]);
        } else {
            error = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Invocation call = parseArguments(args);
    ToolOutput io{out, err, call.raw, call.json};
    if (call.help) {
        printUsage(out);
        return 0;
    }
    if (call.version) {
        out << "zel-tool " << ZEL_VERSION << '\n';
        return 0;
    }
    if (call.words.empty()) return io.usageError("no command given");
    const std::string& name = call.words.front();
    if (isOption(name)) return io.usageError("unknown option " + name);
    const ToolVerb* verb = findVerb(name);
    if (!verb) return io.usageError("unknown command " + name);
    if (io.json && !verb->takesJson) return io.usageError("--json does not apply to " + name);
    setWriterLockProgram("zel-tool " + name);
    try {
        return verb->run(io, std::vector<std::string>(call.words.begin() + 1, call.words.end()));
    } catch (const std::bad_alloc&) {
        // A file that inflates or reads to more than memory holds ends the
        // verb with its reason, never the program with a signal.
        return io.fail("not enough memory to run " + name);
    }
}

}  // namespace zel
