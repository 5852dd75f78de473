#pragma once
// Memo files built in memory for the dialog engines' tests: holders of nodes
// with fields, loaded or not.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel::test {

struct NodeSpec {
    std::string name;
    std::vector<std::string> fields = {};  // "key=value" lines, values raw
};

inline MemoNode& addNode(MemoHolder& holder, const NodeSpec& spec) {
    auto node = holder.newNode_();
    for (const std::string& line : spec.fields) node->fields.append(line);
    MemoNode* made = node.get();
    holder.addNode_(std::move(node), spec.name);
    return *made;
}

inline MemoHolder& addHolder(MemoFile& file, const std::string& name,
                             const std::vector<NodeSpec>& nodes, bool loaded = true) {
    MemoHolder* holder = file.createHolder_(-1);
    holder->putName_as_(name);
    for (const NodeSpec& spec : nodes) addNode(*holder, spec);
    holder->loaded = loaded;
    holder->changed = false;
    return *holder;
}

inline MemoNode& nodeNamed(const MemoHolder& holder, const std::string& name) {
    MemoNode* node = holder.byName_(name);
    if (!node) throw std::runtime_error("no node " + name);
    return *node;
}

inline std::vector<std::string> nodeNames(const MemoHolder& holder) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < holder.nodes->childCount(); ++i)
        names.push_back(holder.nodes->nameAt(i));
    return names;
}

}  // namespace zel::test
