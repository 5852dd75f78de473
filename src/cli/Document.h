#pragma once
// What zel-tool opens: a memo file (index or container) or a single holder
// file, read with the model's own readers and without any question.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/MemoFile.h"
#include "platform/WriterLock.h"

namespace zel {

class MemoHolder;
class MemoNode;

enum class FileKind { Index, Container, Holder, CompressedHolder, Unknown };

FileKind kindOfPath(const std::string& path);
bool isMemoFileKind(FileKind kind);
bool isHolderKind(FileKind kind);

struct Document {
    FileKind kind = FileKind::Unknown;
    std::string path;
    // A holder file is held as the only holder of an unnamed memo file, so
    // holders always answer their memo file.
    MemoFile file;
    // What went wrong while reading, one line each (markup errors, missing
    // or unreadable holder files); the document holds what could be read.
    std::vector<std::string> problems;
    // Held from the read to the last write by a verb that writes the document.
    WriterLock lock;

    bool isHolderFile() const { return isHolderKind(kind); }
    MemoHolder* onlyHolder() const { return file.holderAt_(0); }
};

// The document of one verb run. Tearing a large model down costs a fifth of
// a reading verb's time, so in the zel-tool process, which ends right after
// its verb, a finished document gives up its writers' lock and is left for
// the process's end to free; run in process (the tests, the window's
// hand-overs) it is freed as usual.
class VerbDocument {
  public:
    VerbDocument();
    ~VerbDocument();
    VerbDocument(const VerbDocument&) = delete;
    VerbDocument& operator=(const VerbDocument&) = delete;

    Document& operator*() const { return *document_; }

  private:
    std::unique_ptr<Document> document_;
};
// Called once by zel-tool's main: documents of later verbs are left to the
// process's end.
void leaveDocumentsToProcessEnd();

// Reads `path` into `document`; for a memo file, every holder is loaded from
// its file (index) or its part (container). Markup errors are collected in
// `problems`. 0, or -1 with `error` set when nothing usable could be read.
// A verb that will write the document back opens it `writing`: the writers'
// lock is taken before the read and held while the document lives; -2 with
// `error` naming the other writer when it could not be had in time.
// A verb that needs only some holders of an index (grep and scan) passes
// `wanted`, asked with each holder file's path: a holder it declines is left
// unloaded, its file unread.
using HolderFileWanted = std::function<bool(const std::string& path)>;
int openDocument(const std::string& path, Document& document, std::string& error,
                 bool writing = false, const HolderFileWanted& wanted = {});

// The exit status of a writer refused because another one holds the lock or
// wrote the file since it was read: nothing was written.
inline constexpr int kWriterConflict = 1;

// The holder asked for: by name (letter case ignored, then blanks too), or
// without a name the current holder, else the first. A holder file's one
// holder answers to the name it was given, its file's name.
MemoHolder* chooseHolder(const Document& document, const std::string& name);
// The node of that name, with the same rules.
MemoNode* chooseNode(const MemoHolder& holder, const std::string& name);

// The node a verb's words FILE [HOLDER] NODE name (as given on the command
// line), read into `document`: 0, or the failure status after its message.
struct ToolOutput;
int openNamedNode(const ToolOutput& io, const std::vector<std::string>& words, Document& document,
                  MemoNode*& node);

// Where each holder of the document was (or would be) read from.
std::string holderSource(const Document& document, const MemoHolder& holder);

}  // namespace zel
