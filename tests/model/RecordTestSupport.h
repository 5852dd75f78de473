#pragma once
// Shared by the record and node tests: parsing markup text and writing a node
// and reading it back the way holder files do.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/MarkupWords.h"
#include "formats/TTAGNode.h"
#include "model/MemoNode.h"
#include "model/RecordText.h"

namespace zel::test {

inline std::unique_ptr<TTAGNode> parseText(std::string_view text) {
    WordList words;
    splitWords(text, words, false);
    auto root = std::make_unique<TTAGNode>();
    std::vector<std::string> errors;
    parseMarkup(*root, words, errors);
    return root;
}

// The node's record markup as one text.
inline std::string recordText(MemoNode& node) {
    std::vector<std::string> lines;
    node.writeNodeRecord_(lines, "  ");
    return linesText(lines);
}

// A fresh node read from the node's record markup.
inline std::unique_ptr<MemoNode> writeAndRead(MemoNode& node) {
    auto root = parseText(recordText(node));
    auto copy = std::make_unique<MemoNode>();
    copy->readTag_(*root->itemObject(0));
    return copy;
}

}  // namespace zel::test
