#pragma once
// The node snapshot a page is written from when no holder view is at hand
// (zel-tool, benchmarks): the holder's nodes in list order at level -1, or,
// for a holder listed as a tree, nested by ParentNodeID under the node whose
// UID it names. The window takes the same snapshot from its tree instead.

#include "export/HtmlPieces.h"

namespace zel {

class MemoHolder;

// A tree holder's nodes come in depth-first order: a parent before its
// children, children in list order, every node once. A ParentNodeID that
// names no node, the node itself or one of its own descendants leaves the
// node at the top level.
PageNodes pageNodesOf(const MemoHolder& holder);

}  // namespace zel
