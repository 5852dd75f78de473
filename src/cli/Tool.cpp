#include "cli/Tool.h"

#include <ostream>

#include "text/Sjis.h"

#ifndef ZEL_VERSION
#define ZEL_VERSION "unknown"
#endif

namespace zel {

namespace {

constexpr std::string_view kUsage = R"(Usage: zel-tool [OPTIONS] COMMAND ARGUMENTS

Reads, shows, converts and checks zel memo files (.mxa index, .maz container)
and holder files (.mxh plain, .mhz compressed).

Commands:
  info FILE                 a memo file's name, fields, current holder and
                            holders (file, format, node count); a holder
                            file's settings and nodes
  convert IN OUT            read IN and write OUT by their extensions:
                            .mxh <-> .mhz, .mxa <-> .maz (a container becomes
                            an index with its holder files beside OUT);
                            the same extension reads and writes back
  cat FILE [HOLDER] NODE    a node's name, fields, comment and memo text
                            (HOLDER defaults to the current holder)
  check FILE                parse FILE (and a memo file's holders) and report
                            every markup error; exit status 1 when any

Options:
  --json      info and cat as JSON (UTF-8 strings; field values as stored)
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
    std::string badOption;
};

Invocation parseArguments(const std::vector<std::string>& args) {
    Invocation call;
    bool optionsEnded = false;
    for (const auto& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            call.words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--json") {
            call.json = true;
        } else if (arg == "--raw") {
            call.raw = true;
        } else if (arg == "--help" || arg == "-h") {
            call.help = true;
        } else if (arg == "--version") {
            call.version = true;
        } else if (call.badOption.empty()) {
            call.badOption = arg;
        }
    }
    return call;
}

int usageError(const ToolOutput& io, std::string_view message) {
    io.err << "zel-tool: " << message << "\nTry 'zel-tool --help'.\n";
    return 1;
}

int dispatch(const ToolOutput& io, const std::vector<std::string>& words) {
    const std::string& command = words.front();
    const std::size_t count = words.size() - 1;
    auto path = [&io, &words](std::size_t i) { return io.stored(words[i]); };
    if (command == "info" && count == 1) return infoCommand(io, path(1));
    if (command == "check" && count == 1) return checkCommand(io, path(1));
    if (command == "convert" && count == 2) return convertCommand(io, path(1), path(2));
    if (command == "cat" && count == 2) return catCommand(io, path(1), "", path(2));
    if (command == "cat" && count == 3) return catCommand(io, path(1), path(2), path(3));
    if (command == "info" || command == "check" || command == "convert" || command == "cat")
        return usageError(io, "wrong number of arguments for " + command);
    return usageError(io, "unknown command " + command);
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

int runTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const Invocation call = parseArguments(args);
    ToolOutput io{out, err, call.raw, call.json};
    if (call.help) {
        out << kUsage;
        return 0;
    }
    if (call.version) {
        out << "zel-tool " << ZEL_VERSION << '\n';
        return 0;
    }
    if (!call.badOption.empty()) return usageError(io, "unknown option " + call.badOption);
    if (call.words.empty()) return usageError(io, "no command given");
    if (io.json && call.words.front() != "info" && call.words.front() != "cat")
        return usageError(io, "--json applies to info and cat only");
    return dispatch(io, call.words);
}

}  // namespace zel
