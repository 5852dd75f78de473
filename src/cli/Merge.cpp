// merge follows git's merge driver protocol (%O %A %B): the result replaces
// OURS, and the exit status says clean (0), conflicts kept (1) or trouble (2).
// merge-copy merges a sync engine's conflict copies into the file they are
// copies of, two-way, and moves each copy into conflicts/ once merged.

#include "cli/Merge.h"

#include <cstring>
#include <ostream>

#include "cli/Document.h"
#include "merge/ConflictCopies.h"
#include "merge/FileMerge.h"
#include "model/HolderFile.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "platform/WriterLock.h"
#include "text/TextHelpers.h"

extern char** environ;

namespace zel {

namespace {

constexpr int kMergeTrouble = 2;

int trouble(const ToolOutput& io, std::string_view sjisMessage) {
    io.fail(sjisMessage);
    return kMergeTrouble;
}

int usage(const ToolOutput& io, std::string_view message) {
    io.usageError(message);
    return kMergeTrouble;
}

int status(MergeStatus merged) {
    return static_cast<int>(merged);
}

// The branch a `git merge` merges, as git tells its merge drivers' process
// (GITHEAD_<commit>=<branch>); empty unless exactly one is named.
std::string mergedBranch() {
    constexpr std::string_view kPrefix = "GITHEAD_";
    std::string branch;
    int found = 0;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view line(*entry);
        const std::size_t equals = line.find('=');
        if (!line.starts_with(kPrefix) || equals == std::string_view::npos) continue;
        branch = line.substr(equals + 1);
        ++found;
    }
    return found == 1 ? branch : std::string();
}

void sayConflicts(const ToolOutput& io, const MergeReport& report) {
    for (const std::string& line : report.conflicts) io.out << "  " << io.shown(line) << '\n';
}

int runMerge(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {}, {"--out", "--label"}, split, error)) return usage(io, error);
    if (split.words.size() != 3) return usage(io, "merge needs BASE OURS THEIRS");
    const std::string paths[] = {io.stored(split.words[0]), io.stored(split.words[1]),
                                 io.stored(split.words[2])};
    std::string bytes[3];
    for (int i = 0; i < 3; ++i)
        if (IoResult read = readFile(paths[i], bytes[i]); !read) return trouble(io, read.message);
    MergeOptions options;
    options.theirsLabel = io.stored(split.value("--label"));
    if (options.theirsLabel.empty()) options.theirsLabel = mergedBranch();
    if (options.theirsLabel.empty()) options.theirsLabel = fileNameOf(paths[2]);
    const FileMerge merged = mergeFileBytes(bytes[0], bytes[1], bytes[2], options);
    if (merged.status == MergeStatus::Failed) return trouble(io, merged.error);
    const std::string target =
        split.value("--out").empty() ? paths[1] : io.stored(split.value("--out"));
    if (IoResult written = writeFileSafely(target, merged.bytes); !written)
        return trouble(io, written.message);
    if (!merged.report.clean()) {
        io.out << io.shown(target) << ": " << merged.report.conflicts.size()
               << " conflict(s) kept\n";
        sayConflicts(io, merged.report);
    }
    return status(merged.status);
}

// Merges one conflict copy into `target` and moves it away; the status of
// the merge, or kMergeTrouble when nothing was written.
int mergeOneCopy(const ToolOutput& io, const std::string& target, const std::string& copy) {
    std::string mine, theirs;
    FileStamp stamp;
    if (IoResult read = readFile(target, mine, &stamp); !read) return trouble(io, read.message);
    if (IoResult read = readFile(copy, theirs); !read) return trouble(io, read.message);
    MergeOptions options;
    options.theirsLabel = fileNameOf(copy);
    const FileMerge merged = mergeFileBytes({}, mine, theirs, options);
    if (merged.status == MergeStatus::Failed) return trouble(io, copy + ": " + merged.error);
    const DiskVersion asRead{target, stamp};
    if (IoResult written =
            writeFileSafely(target, merged.bytes, LinkPolicy::StayInFolder, nullptr, &asRead);
        !written)
        return trouble(io, written.message);
    std::string movedTo;
    if (IoResult moved = moveToConflictsFolder(copy, &movedTo); !moved)
        return trouble(io, moved.message);
    io.out << io.shown(copy) << ": merged into " << io.shown(target) << ", "
           << merged.report.conflicts.size() << " conflict(s) kept; moved to " << io.shown(movedTo)
           << '\n';
    sayConflicts(io, merged.report);
    return status(merged.status);
}

// Every conflict copy of `target` merged, oldest first; the worst status.
int mergeCopiesOf(const ToolOutput& io, const std::string& target, int& copiesSeen) {
    int worst = 0;
    for (const std::string& copy : findConflictCopies(target)) {
        ++copiesSeen;
        const int merged = mergeOneCopy(io, target, copy);
        if (merged == kMergeTrouble) return merged;
        worst = std::max(worst, merged);
    }
    return worst;
}

// The holder files an index lists, as it stands after its own copies merged.
bool holderFilesOf(const std::string& indexPath, std::vector<std::string>& paths,
                   std::string& error) {
    MemoFile file;
    std::vector<std::string> markupErrors;
    if (openIndex_(file, indexPath, markupErrors, &error) != 0) return false;
    for (int i = 0; i < file.countOfHolders_(); ++i)
        paths.push_back(holderFilePath_(*file.holderAt_(i)));
    return true;
}

int runMergeCopy(const ToolOutput& io, const std::vector<std::string>& args) {
    VerbArguments split;
    std::string error;
    if (!splitVerbArguments(args, {}, {}, split, error)) return usage(io, error);
    if (split.words.size() != 1) return usage(io, "merge-copy needs FILE");
    const std::string path = io.stored(split.words[0]);
    const FileKind kind = kindOfPath(path);
    if (!isHolderKind(kind) && kind != FileKind::Index)
        return trouble(io,
                       "merge-copy takes a holder file (.mxh, .mhz) or an index (.mxa): " + path);
    if (!fileExists(path)) return trouble(io, "No such file: " + path);
    // Other writers of ours keep away while the copies are merged in.
    WriterLock lock;
    if (IoResult locked = lock.acquire(path); !locked) return trouble(io, locked.message);
    int copiesSeen = 0;
    int worst = mergeCopiesOf(io, path, copiesSeen);
    if (worst == kMergeTrouble) return worst;
    if (kind == FileKind::Index) {
        std::vector<std::string> holderFiles;
        if (!holderFilesOf(path, holderFiles, error)) return trouble(io, error);
        for (const std::string& holderFile : holderFiles) {
            const int merged = mergeCopiesOf(io, holderFile, copiesSeen);
            if (merged == kMergeTrouble) return merged;
            worst = std::max(worst, merged);
        }
    }
    if (copiesSeen == 0) io.out << io.shown(path) << ": no conflict copies\n";
    return worst;
}

}  // namespace

const ToolVerb kMergeVerb{
    "merge",
    "  merge BASE OURS THEIRS    three versions of one holder file (.mxh, .mhz) or\n"
    "                            index (.mxa) merged node by node, as git's merge\n"
    "                            driver (%O %A %B): the result replaces OURS; exit\n"
    "                            0 clean, 1 conflicts kept (listed), 2 on trouble.\n"
    "                            An empty BASE: no common version (two-way)\n"
    "    --out FILE              write the result there instead\n"
    "    --label TEXT            where THEIRS came from, for the ConflictFrom field\n"
    "                            of conflict copies (default: the branch git merges,\n"
    "                            else THEIRS's file name)\n",
    false, runMerge};

const ToolVerb kMergeCopyVerb{
    "merge-copy",
    "  merge-copy FILE           merges each sync conflict copy of FILE (Syncthing,\n"
    "                            Nextcloud, Dropbox) into it, two-way, and moves the\n"
    "                            copy into conflicts/ beside it; for an index also\n"
    "                            the copies of each of its holder files; exit as merge\n",
    false, runMergeCopy};

}  // namespace zel
