// desktop associate | unassociate | shortcut: the [Install] menu's work for
// packaging scripts and users without the window, with the same messages.

#include <ostream>

#include "cli/Files.h"
#include "platform/DesktopAssociation.h"
#include "platform/DesktopPrograms.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

namespace zel {

namespace {

// The zel program registered: --program, else the zel beside this tool,
// else the one in PATH.
std::string programToRegister(const ToolOutput& io, const VerbArguments& split) {
    if (const std::string given = io.stored(split.value("--program")); !given.empty()) return given;
    if (const std::string beside = executableDirectory() + "zel"; fileExists(beside)) return beside;
    return findOnPath("zel");
}

int report(const ToolOutput& io, const DesktopOutcome& outcome, std::string_view done,
           std::string_view failure) {
    if (!outcome.ok) return io.fail(std::string(failure) + outcome.reason);
    io.out << done << '\n';
    return 0;
}

int runDesktop(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {}, {"--program"}, split, error)) return io.usageError(error);
    if (split.words.size() != 1)
        return io.usageError("desktop needs associate, unassociate or shortcut");
    const std::string& what = split.words[0];
    if (what == "unassociate")
        return report(io, unassociateMemoFiles(),
                      "Done: Unassociate FileName Extentions. \".mxa\", \".maz\"",
                      "Failure: Unassociate FileName Extentions. ");
    if (what != "associate" && what != "shortcut")
        return io.usageError("desktop needs associate, unassociate or shortcut");
    const std::string program = programToRegister(io, split);
    if (program.empty()) return io.fail("No zel program found; give --program PATH");
    const std::string osProgram = programOsPath(program);
    if (what == "associate")
        return report(io, associateMemoFiles(osProgram),
                      "Done: Associate FileName Extentions. \".mxa\", \".maz\"",
                      "Failure: Associate FileName Extentions. ");
    return report(io, makeDesktopShortcut(desktopFolder(), osProgram),
                  "Done: Make ShortCutLink, Look DeskTop!", "Failure: Make ShortCutLink, ");
}

}  // namespace

const ToolVerb kDesktopVerb{
    "desktop",
    "  desktop associate|unassociate|shortcut\n"
    "                            register .mxa and .maz with the desktop for this user\n"
    "                            (or take that back), or put a zel launcher on the\n"
    "                            desktop; --program PATH names the zel to register\n",
    false, runDesktop};

}  // namespace zel
