#include "views/BodyPaths.h"

#include <filesystem>

#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/TextHelpers.h"

namespace zel {

std::string holderFolderOfNode(const MemoNode& node) {
    const auto* holder = dynamic_cast<const MemoHolder*>(node.enclosingRecord_());
    return holder ? std::string(folderOf(holderFilePath_(*holder))) : std::string();
}

std::string holderRelativePath(const MemoNode& node, std::string_view path) {
    if (!path.starts_with('.')) return std::string(path);
    return std::filesystem::path(holderFolderOfNode(node) + withSlashes(path))
        .lexically_normal()
        .string();
}

}  // namespace zel
