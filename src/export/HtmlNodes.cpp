#include "export/HtmlNodes.h"

#include <unordered_map>

#include "model/MemoHolder.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr int kNoParent = -1;

// Parent of every node by ParentNodeID and UID (letter case ignored, the
// first node of a UID wins); a link that would close a loop is dropped, so
// the parents form a forest.
std::vector<int> parentsOf(const NodeList& list) {
    const std::size_t count = list.size();
    std::unordered_map<std::string, int> byUID;
    for (std::size_t i = 0; i < count; ++i) {
        std::string uid = lowerText(unquotedView(list[i].second->fields.value("UID")));
        if (!uid.empty()) byUID.emplace(std::move(uid), static_cast<int>(i));
    }
    std::vector<int> parent(count, kNoParent);
    if (byUID.empty()) return parent;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string id =
            lowerText(unquotedView(list[i].second->fields.value("ParentNodeID")));
        if (id.empty()) continue;
        auto found = byUID.find(id);
        if (found != byUID.end()) parent[i] = found->second;
    }
    // Walk each chain once; a node met again on its own chain closes a loop.
    enum : char { Unseen, OnChain, Done };
    std::vector<char> state(count, Unseen);
    std::vector<int> chain;
    for (std::size_t start = 0; start < count; ++start) {
        chain.clear();
        int at = static_cast<int>(start);
        while (at != kNoParent && state[static_cast<std::size_t>(at)] == Unseen) {
            state[static_cast<std::size_t>(at)] = OnChain;
            chain.push_back(at);
            at = parent[static_cast<std::size_t>(at)];
        }
        if (at != kNoParent && state[static_cast<std::size_t>(at)] == OnChain)
            parent[static_cast<std::size_t>(chain.back())] = kNoParent;
        for (int node : chain) state[static_cast<std::size_t>(node)] = Done;
    }
    return parent;
}

}  // namespace

PageNodes pageNodesOf(const MemoHolder& holder) {
    NodeList list;
    holder.setNodeList_(list);
    PageNodes nodes;
    nodes.reserve(list.size());
    if (unquotedView(holder.getListMode_()) != "TreeView") {
        for (auto& [name, node] : list) nodes.push_back({node, std::move(name), -1});
        return nodes;
    }
    const std::vector<int> parent = parentsOf(list);
    std::vector<std::vector<int>> children(list.size());
    std::vector<int> roots;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (parent[i] == kNoParent)
            roots.push_back(static_cast<int>(i));
        else
            children[static_cast<std::size_t>(parent[i])].push_back(static_cast<int>(i));
    }
    // Depth first without recursion: a deep chain must not exhaust the stack.
    std::vector<std::pair<int, int>> stack;  // (node, level)
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) stack.push_back({*root, 0});
    while (!stack.empty()) {
        const auto [at, level] = stack.back();
        stack.pop_back();
        auto& [name, node] = list[static_cast<std::size_t>(at)];
        nodes.push_back({node, std::move(name), level});
        const auto& below = children[static_cast<std::size_t>(at)];
        for (auto child = below.rbegin(); child != below.rend(); ++child)
            stack.push_back({*child, level + 1});
    }
    return nodes;
}

}  // namespace zel
