// The verbs of zel-tool. Each engine's verb lives in a file of its own; this
// table is the one place that lists them.

#include "cli/Export.h"
#include "cli/Fields.h"
#include "cli/Files.h"
#include "cli/Image.h"
#include "cli/Mail.h"
#include "cli/Merge.h"
#include "cli/Outline.h"
#include "cli/Print.h"
#include "cli/Run.h"
#include "cli/Search.h"
#include "cli/Tool.h"

namespace zel {

namespace {

// The verbs over the model: a fixed number of words, no options of their own.
// 0 with `words` filled, else the usage error's status.
int withWords(const ToolOutput& io, const std::vector<std::string>& args, std::string_view verb,
              std::size_t fewest, std::size_t most, std::vector<std::string>& words) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {}, {}, split, error)) return io.usageError(error);
    if (split.words.size() < fewest || split.words.size() > most)
        return io.usageError("wrong number of arguments for " + std::string(verb));
    words = std::move(split.words);
    return 0;
}

int runInfo(const ToolOutput& io, const std::vector<std::string>& given) {
    std::vector<std::string> args;
    if (int bad = withWords(io, given, "info", 1, 1, args)) return bad;
    return infoCommand(io, io.stored(args[0]));
}

int runCheck(const ToolOutput& io, const std::vector<std::string>& given) {
    std::vector<std::string> args;
    if (int bad = withWords(io, given, "check", 1, 1, args)) return bad;
    return checkCommand(io, io.stored(args[0]));
}

int runConvert(const ToolOutput& io, const std::vector<std::string>& given) {
    std::vector<std::string> args;
    if (int bad = withWords(io, given, "convert", 2, 2, args)) return bad;
    return convertCommand(io, io.stored(args[0]), io.stored(args[1]));
}

int runCat(const ToolOutput& io, const std::vector<std::string>& given) {
    std::vector<std::string> args;
    if (int bad = withWords(io, given, "cat", 2, 3, args)) return bad;
    if (args.size() == 2) return catCommand(io, io.stored(args[0]), "", io.stored(args[1]));
    return catCommand(io, io.stored(args[0]), io.stored(args[1]), io.stored(args[2]));
}

}  // namespace

const std::vector<ToolVerb>& toolVerbs() {
    static const std::vector<ToolVerb> verbs = {
        {"info",
         "  info FILE                 a memo file's name, fields, current holder and\n"
         "                            holders (file, format, node count); a holder\n"
         "                            file's settings and nodes\n",
         true, runInfo},
        {"convert",
         "  convert IN OUT            read IN and write OUT by their extensions:\n"
         "                            .mxh <-> .mhz, .mxa <-> .maz (a container becomes\n"
         "                            an index with its holder files beside OUT);\n"
         "                            the same extension reads and writes back\n",
         false, runConvert},
        {"cat",
         "  cat FILE [HOLDER] NODE    a node's name, fields, comment and memo text\n"
         "                            (HOLDER defaults to the current holder)\n",
         true, runCat},
        {"check",
         "  check FILE                parse FILE (and a memo file's holders) and report\n"
         "                            every markup error; exit status 1 when any\n",
         false, runCheck},
        kGrepVerb,
        kScanVerb,
        kReplaceVerb,
        kExportHtmlVerb,
        kCalendarVerb,
        kRunVerb,
        kLayoutVerb,
        kPrintVerb,
        kFieldsVerb,
        kMailMessageVerb,
        kSendVerb,
        kFetchVerb,
        kImageVerb,
        kOutlineVerb,
        kImportFilesVerb,
        kSaveEachVerb,
        kDesktopVerb,
        kMergeVerb,
        kMergeCopyVerb,
    };
    return verbs;
}

}  // namespace zel
