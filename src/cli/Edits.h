#pragma once
// Pieces shared by the verbs that change a document (fields, replace): texts
// typed for the model, and writing back what an edit changed.

#include <string>
#include <string_view>
#include <vector>

#include "cli/Document.h"

namespace zel {

class MemoHolder;
struct Document;
struct ToolOutput;

// The exit status of both verbs for a refused call or a failed write.
inline constexpr int kEditTrouble = 2;

// `sjisMessage` said on the error stream; kEditTrouble.
int editTrouble(const ToolOutput& io, std::string_view sjisMessage);

// An argument as the model stores it (as given with --raw). Typed as UTF-8,
// it must survive the conversion whole: a character turned into "?" would be
// written into every edited node, or match every "?" of the memo file.
bool storedWhole(const ToolOutput& io, const std::string& argument, std::string& text);

// `path` opened into `document`, each reading problem said on the error
// stream. 0, else kEditTrouble after saying why; a document not read whole is
// refused when the call would write it (`writing`), which also takes the
// writers' lock (kWriterConflict when another writer keeps it).
int openEdited(const ToolOutput& io, const std::string& path, bool writing, Document& document,
               const HolderFileWanted& wanted = {});

// The edited `holders` of `document` written together to the files they were
// read from, or the whole container for a container; each file written is
// said on the error stream. 0; else, after saying why, with nothing written:
// kWriterConflict when another program wrote a file since it was read,
// kEditTrouble for any other failure.
int saveChangedHolders(const ToolOutput& io, Document& document,
                       const std::vector<MemoHolder*>& holders);

// Writes what `request` asks of the document's memo file as one set, saying
// each file written; 0, or the status above after saying why.
struct MemoFileSaveRequest;
int saveDocumentSet(const ToolOutput& io, Document& document, const MemoFileSaveRequest& request,
                    int troubleStatus);

}  // namespace zel
