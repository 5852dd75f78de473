#pragma once
// Reading a memo file container (.maz) back: one zlib stream holding a MIME
// multipart message whose first part is the index and whose further parts are
// the holder files. The writer is MemoFile::writeContainer_.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class MemoFile;

struct ContainerPart {
    std::string fileName;  // as the part carries it: may name any folder
    std::string bytes;     // the decoded body
};

// Inflates (bounded) and splits the container at `path` into its parts that
// carry a file name, in order. 0, or -1 with `error` set.
int readContainer_(std::string_view path, std::vector<ContainerPart>& parts, std::string* error);

// Where a part is unpacked: the container's folder joined with the part's
// plain file name, so no part can leave that folder. Empty when the part's
// name leaves no usable file name.
std::string containerPartTarget_(std::string_view containerPath, std::string_view partFileName);

// Asked before an existing file is replaced; false skips the part.
using ReplaceQuestion = std::function<bool(const std::string& target)>;

// Writes every part beside the container (through the safe writer), asking
// `mayReplace` before an existing file is replaced. `indexPath` receives the
// first part's target when it exists afterwards (the index to open), else
// empty. The number of files written, or -1 with `error` set.
int unpackContainer_(std::string_view path, const ReplaceQuestion& mayReplace,
                     std::string* indexPath, std::string* error);

// Reads a container straight into `file`, writing nothing: the index from the
// first part, each holder from the part that carries its file (plain text, or
// a zlib stream when a part holds one). The memo file is named after the
// index beside the container; holders found are loaded, holders without a
// part stay not loaded. 0, or -1 with `error` set.
int loadContainer_(MemoFile& file, std::string_view path, std::string* error);

}  // namespace zel
