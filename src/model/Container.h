#pragma once
// Reading a memo file container (.maz) back: one zlib stream holding a MIME
// multipart message whose first part is the index and whose further parts are
// the holder files. The writer is MemoFile::writeContainer_. The container is
// read as a stream: each part is handed on as soon as it is complete and then
// dropped, so a large container never stands whole in memory.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class AgentAPLAbs;
class MemoFile;

struct ContainerPart {
    std::string fileName;  // as the part carries it: may name any folder
    std::string bytes;     // the decoded body
};

// Takes each complete part in order (it may take the bytes away); false stops
// the reading.
using ContainerPartTaker = std::function<bool(ContainerPart& part)>;

// Inflates (bounded) the container at `path` piece by piece and splits it
// into its parts as they go by. With an agent, Break is asked between parts
// and every few megabytes. 0; -1 with `error` set when the file is not a
// readable container; -3 when the agent said Break or `take` said stop.
int readContainerParts_(std::string_view path, const ContainerPartTaker& take, std::string* error,
                        AgentAPLAbs* agent = nullptr);
// The same for a container already in memory (`origin` names it).
int readContainerBytes_(std::string_view compressed, std::string_view origin,
                        const ContainerPartTaker& take, std::string* error,
                        AgentAPLAbs* agent = nullptr);

// Every part of the container at `path`, in order. 0, or -1 with `error` set.
int readContainer_(std::string_view path, std::vector<ContainerPart>& parts, std::string* error);

// Where a part is unpacked: the container's folder joined with the part's
// plain file name, so no part can leave that folder. Empty when the part's
// name leaves no usable file name.
std::string containerPartTarget_(std::string_view containerPath, std::string_view partFileName);

// Asked before an existing file is replaced; false skips the part.
using ReplaceQuestion = std::function<bool(const std::string& target)>;

// Unpacks the container beside itself, all or nothing: the index goes to the
// first part's plain name, each holder part to the file its holder reads
// from (the index decides, HolderFileNames.h), every one written to a
// temporary file and renamed only when all are complete. `mayReplace` is
// asked before an existing file is replaced. Parts no holder claims are not
// written. `indexPath` receives the index's path when it exists afterwards,
// else empty. The number of files written, or -1 with `error` set (nothing
// was replaced then).
int unpackContainer_(std::string_view path, const ReplaceQuestion& mayReplace,
                     std::string* indexPath, std::string* error, AgentAPLAbs* agent = nullptr);

// Reads a container straight into `file`, writing nothing: the index from the
// first part, each holder from the part that carries its file (plain text, or
// a zlib stream when a part holds one). The memo file is named after the
// index beside the container; holders found are loaded, holders without a
// part stay not loaded. 0, -1 with `error` set, or -3 on Break.
int loadContainer_(MemoFile& file, std::string_view path, std::string* error,
                   AgentAPLAbs* agent = nullptr);
// The same for a container already in memory, named `path`.
int loadContainerBytes_(MemoFile& file, std::string_view compressed, std::string_view path,
                        std::string* error, AgentAPLAbs* agent = nullptr);

}  // namespace zel
