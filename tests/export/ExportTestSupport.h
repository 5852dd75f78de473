#pragma once
// Shared by the page tests: holders built in memory, a fixed clock reading,
// pages as line lists and the golden pages of tests/data/export.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "export/HtmlPieces.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"

namespace zel::test {

// 5 March 2024, 14:07:09.250: a Tuesday.
inline DateTime fixedNow() {
    DateTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    t.hour = 14;
    t.minute = 7;
    t.second = 9;
    t.millisecond = 250;
    return t;
}

inline DateTime dayOf(int year, int month, int day) {
    DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    return t;
}

struct NodeSpec {
    using Fields = std::vector<std::pair<std::string, std::string>>;
    NodeSpec(std::string name, std::vector<std::string> memo = {}, Fields fields = {},
             std::vector<std::string> comment = {})
        : name(std::move(name)),
          memo(std::move(memo)),
          fields(std::move(fields)),
          comment(std::move(comment)) {}

    std::string name;
    std::vector<std::string> memo;
    Fields fields;  // key and raw value, quotes included
    std::vector<std::string> comment;
};

// A memo file with holders of nodes, as the pages read them.
class PageFixture {
  public:
    MemoHolder& holder(std::string_view name, const std::vector<NodeSpec>& specs) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        holder->loaded = true;
        for (const NodeSpec& spec : specs) add(*holder, spec);
        return *holder;
    }
    static MemoNode* add(MemoHolder& holder, const NodeSpec& spec) {
        auto node = holder.newNode_();
        MemoNode* added = node.get();
        holder.addNode_(std::move(node), spec.name);
        added->memo = spec.memo;
        added->comment = spec.comment;
        for (const auto& [key, value] : spec.fields) added->putField_(key, value);
        return added;
    }
    // The holder's nodes in list order, all at level -1.
    static PageNodes listed(const MemoHolder& holder) {
        NodeList list;
        holder.setNodeList_(list);
        PageNodes nodes;
        for (auto& [name, node] : list) nodes.push_back({node, name, -1});
        return nodes;
    }

    MemoFile file;
};

inline Lines pageLines(const std::function<void(PageSink&)>& write) {
    Lines lines;
    LinesSink sink(lines);
    write(sink);
    return lines;
}

inline std::string goldenPage(std::string_view name) {
    std::string bytes;
    EXPECT_TRUE(readFile(std::string(ZEL_TEST_DATA) + "/export/" + std::string(name), bytes))
        << name;
    return bytes;
}

}  // namespace zel::test
