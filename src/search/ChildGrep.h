#pragma once
// New Child Grep: a new child of a node whose memo text is the node's memo
// lines that the grep dialog's settings keep.

#include <functional>
#include <string>
#include <string_view>

#include "text/LineMatcher.h"

namespace zel {

class MemoNode;

// The grep dialog's settings; the defaults are the dialog's at creation.
struct GrepChoice {
    std::string keyword;
    int mode = GrepContains;
    bool invert = false;
    bool numbered = false;
    bool ignoreCase = true;
};

// The lines of `source`'s memo text the settings keep, numbered when asked.
Lines childGrepLines(const MemoNode& source, std::string_view keyword, const GrepChoice& choice);

// The grep child of `source`: the lines are taken first, then `makeNode`
// makes the new node (as "New MemoNode" does; none when it could not), which
// is renamed to its initial name + " Grep " + keyword (+ " NOT " when
// inverted), becomes a child of `source` and receives the lines as its memo
// text. The node made, or none.
MemoNode* makeGrepChild(MemoNode& source, std::string_view keyword, const GrepChoice& choice,
                        const std::function<MemoNode*()>& makeNode);

}  // namespace zel
