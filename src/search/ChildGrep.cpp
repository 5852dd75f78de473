#include "search/ChildGrep.h"

#include "model/MemoNode.h"

namespace zel {

Lines childGrepLines(const MemoNode& source, std::string_view keyword, const GrepChoice& choice) {
    Lines kept;
    grepTSL_(&source.memo, keyword, &kept, choice.mode, choice.invert, choice.numbered,
             choice.ignoreCase);
    return kept;
}

MemoNode* makeGrepChild(MemoNode& source, std::string_view keyword, const GrepChoice& choice,
                        const std::function<MemoNode*()>& makeNode) {
    Lines lines = childGrepLines(source, keyword, choice);
    MemoNode* child = makeNode();
    if (!child) return nullptr;
    std::string name = child->getName_() + " Grep " + std::string(keyword);
    if (choice.invert) name += " NOT ";
    child->putName_as_(name);
    child->setParentNode_(source);
    child->memo = std::move(lines);
    return child;
}

}  // namespace zel
