#include <ostream>

#include "cli/Document.h"
#include "cli/Tool.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/SafeFileSet.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Each holder goes to its default file beside the new index, which is where
// reading that index looks for it, so no holder lands outside OUT's folder and
// no two holders share a file. The index and the holder files are replaced
// together or not at all.
int writeIndexWithHolders(const ToolOutput& io, MemoFile& file, const std::string& outPath) {
    SafeFileSet set;
    std::string error, bytes;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        MemoHolder& holder = *file.holderAt_(i);
        const std::string target = defaultHolderPath_(holder);
        if (!holderFileBytes_(holder, target, bytes, &error)) return io.fail(error);
        set.add(target).append(bytes);
    }
    std::vector<std::string> lines;
    file.writeMemoFile_(lines);
    set.add(outPath, LinkPolicy::Follow).append(linesText(lines));
    if (IoResult written = set.commit(); !written) return io.fail(written.message);
    return 0;
}

int writeMemoFile(const ToolOutput& io, MemoFile& file, FileKind kind, const std::string& outPath) {
    file.setFilename(outPath);
    if (file.currentHolder)
        file.putField_("CurrentHolder", wrapQuotes(file.currentHolder->getName_()));
    if (kind == FileKind::Container)
        return file.writeContainer_(outPath) < 0 ? io.fail(file.lastError()) : 0;
    return writeIndexWithHolders(io, file, outPath);
}

}  // namespace

int convertCommand(const ToolOutput& io, const std::string& inPath, const std::string& outPath) {
    const FileKind target = kindOfPath(outPath);
    if (target == FileKind::Unknown)
        return io.fail("Cannot tell the form to write from the extension of " + outPath);
    if (isHolderKind(kindOfPath(inPath)) != isHolderKind(target))
        return io.fail("Holder files convert to holder files, memo files to memo files");
    // OUT is what is written: its writers' lock is held from before IN is
    // read (they may be one file) until OUT stands.
    WriterLock outLock;
    if (IoResult locked = outLock.acquire(outPath); !locked) return io.fail(locked.message);
    VerbDocument held;
    Document& document = *held;
    std::string error;
    if (openDocument(inPath, document, error) != 0) return io.fail(error);
    if (!document.problems.empty()) {
        for (const auto& problem : document.problems) io.err << io.shown(problem) << '\n';
        return io.fail("Nothing written: " + inPath + " could not be read completely");
    }
    if (document.isHolderFile()) {
        if (writeHolderText_(*document.onlyHolder(), outPath, &error) < 0) return io.fail(error);
        return 0;
    }
    return writeMemoFile(io, document.file, target, outPath);
}

}  // namespace zel
