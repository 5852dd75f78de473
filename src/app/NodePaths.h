#pragma once
// File names that nodes carry: a name beginning with "." lies beside the file
// of the node's holder.

#include <string>
#include <string_view>

namespace zel {

class MemoNode;

// The folder of the file of the node's holder; empty for a node outside one.
std::string holderFolderOf(const MemoNode& node);
// `path` expanded against that folder when it begins with "."; else as given.
std::string expandRelative(const MemoNode& node, std::string_view path);

}  // namespace zel
