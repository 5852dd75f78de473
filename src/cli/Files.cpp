// import-files makes a node per path (optionally per file or folder below a
// folder) in a new or a named holder and writes the holder and the memo file;
// save-each writes each node's body to its file or into a folder and prints
// the save-each window's log.

#include "cli/Files.h"

#include <ostream>

#include "cli/Document.h"
#include "cli/Edits.h"
#include "dialogs/FileListEdit.h"
#include "dialogs/FileListNodes.h"
#include "dialogs/SaveEach.h"
#include "model/HolderFile.h"
#include "model/MemoFileSave.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"

namespace zel {

namespace {

// The holder and, for a memo file, the index or container that lists it,
// written together.
int writeBack(const ToolOutput& io, Document& document, MemoHolder& holder) {
    MemoFileSaveRequest request;
    if (document.kind != FileKind::Container)
        request.holders.emplace_back(&holder, holderSource(document, holder));
    if (!document.isHolderFile()) request.indexPath = document.path;
    return saveDocumentSet(io, document, request, 1);
}

int runImportFiles(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {"--expand", "--dirs", "--names", "--link", "--no-filename"},
                            {"--holder", "--new", "--template"}, split, error))
        return io.usageError(error);
    if (split.words.size() < 2) return io.usageError("import-files needs FILE and PATH...");
    if (split.has("--expand") && split.has("--dirs"))
        return io.usageError("give --expand or --dirs, not both");
    if (!split.value("--holder").empty() && !split.value("--new").empty())
        return io.usageError("give --holder or --new, not both");
    VerbDocument held;
    Document& document = *held;
    if (openDocument(io.stored(split.words[0]), document, error, true) != 0) return io.fail(error);
    if (!document.problems.empty())
        return io.fail("Nothing written: " + document.path + " could not be read completely");

    FileListNodeOptions options;
    options.nameFromFileName = !split.has("--names");
    options.setFilename = !split.has("--no-filename");
    options.setLink = split.has("--link");
    options.templateLines = defaultFileListTemplate();
    if (const std::string path = io.stored(split.value("--template")); !path.empty()) {
        std::string text;
        if (!readFile(path, text)) return io.fail("Cannot read the template " + path);
        options.templateLines = textLines(text);
    }

    MemoHolder* holder = nullptr;
    FileListNodeRun run;
    if (const std::string name = io.stored(split.value("--holder")); !name.empty()) {
        holder = chooseHolder(document, name);
        if (!holder) return io.fail("No holder named " + name + " in " + document.path);
        // Nodes into an existing holder start as copies of its node "*".
        run.pattern = holder->byName_("*");
    } else if (document.isHolderFile()) {
        holder = document.onlyHolder();
        run.pattern = holder->byName_("*");
    } else {
        holder = document.file.createHolder_(-1);
        holder->loaded = true;
        if (const std::string name = io.stored(split.value("--new")); !name.empty())
            holder->putName_as_(name);
    }

    std::vector<std::string> paths;
    for (std::size_t i = 1; i < split.words.size(); ++i) paths.push_back(io.stored(split.words[i]));
    const FileDropMode mode = split.has("--expand") ? FileDropMode::ExpandSubDir
                              : split.has("--dirs") ? FileDropMode::DirectoryOnly
                                                    : FileDropMode::FullName;
    std::vector<std::string> lines;
    addDroppedPaths(paths, mode, lines);
    const FileListNodesMade made = makeNodesFromLines(*holder, lines, options, run);
    if (made.last) holder->setCurrent_(made.last);
    io.out << io.shown(holder->getName_()) << ": Done: count=" << made.count << '\n';
    return writeBack(io, document, *holder);
}

int runSaveEach(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args,
                            {"--marked", "--overwrite", "--no-overwrite", "--change-filename"}, {},
                            split, error))
        return io.usageError(error);
    if (split.words.size() < 1 || split.words.size() > 3)
        return io.usageError("wrong number of arguments for save-each");
    if (split.has("--overwrite") && split.has("--no-overwrite"))
        return io.usageError("give --overwrite or --no-overwrite, not both");
    VerbDocument held;
    Document& document = *held;
    if (openDocument(io.stored(split.words[0]), document, error, true) != 0) return io.fail(error);
    for (const auto& problem : document.problems) io.err << io.shown(problem) << '\n';
    const std::string holderName = split.words.size() > 1 ? io.stored(split.words[1]) : "";
    MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + document.path);

    SaveEachOptions options;
    std::string folder = split.words.size() > 2 ? io.stored(split.words[2]) : "";
    options.defineDirectory = !folder.empty();
    if (!folder.empty() && folder.back() != '/') folder += '/';
    options.markedOnly = split.has("--marked");
    options.changeFilename = split.has("--change-filename");
    SaveEachCalls calls;
    // Nothing is written over unless asked for.
    const WriteOverAnswer answer =
        split.has("--overwrite") ? WriteOverAnswer::Yes : WriteOverAnswer::No;
    calls.askWriteOver = [answer](const std::string&) { return answer; };
    std::vector<std::string> log;
    const SaveEachResult result = saveEach(holder, folder, options, calls, log);
    bool failed = false;
    for (const std::string& line : log) {
        io.out << io.shown(line) << '\n';
        if (line.starts_with("ERROR")) failed = true;
    }
    if (holder->changed) {
        if (int bad = writeBack(io, document, *holder)) return bad;
    }
    return failed || result.finalText.starts_with("ERROR") ? 1 : 0;
}

}  // namespace

const ToolVerb kImportFilesVerb{
    "import-files",
    "  import-files FILE PATH... one node per path, named by its file name, with\n"
    "                            Filename and the file list window's template fields,\n"
    "                            in a new holder; the holder and FILE are written\n"
    "    --holder NAME           into that holder instead (copies of its node \"*\")\n"
    "    --new NAME              the new holder's name\n"
    "    --expand | --dirs       a folder gives every file (or folder) below it and\n"
    "                            then itself; links are listed, never followed\n"
    "    --template TFILE        Key=Value lines instead of the default template\n"
    "    --names --link --no-filename\n"
    "                            the whole path as name; Link too; no Filename\n",
    false, runImportFiles};

const ToolVerb kSaveEachVerb{
    "save-each",
    "  save-each FILE [HOLDER] [DIR]\n"
    "                            each node's body to the file its Filename names, or\n"
    "                            into DIR under its file name; prints the log lines\n"
    "    --marked                only the marked nodes\n"
    "    --overwrite             write over existing files (by default they stay)\n"
    "    --change-filename       Filename names the file written (the holder is saved)\n",
    false, runSaveEach};

}  // namespace zel
