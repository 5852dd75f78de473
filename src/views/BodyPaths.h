#pragma once
// Where the file a node names lies, for the body views and the commands
// alike: a name beginning with "." lies beside the file of the node's holder.

#include <string>
#include <string_view>

namespace zel {

class MemoNode;

// The folder of the node's holder file, ending in "/"; empty outside a holder.
std::string holderFolderOfNode(const MemoNode& node);
// `path` ("\" read as "/") joined to that folder when it begins with ".";
// otherwise as given.
std::string holderRelativePath(const MemoNode& node, std::string_view path);

}  // namespace zel
