#pragma once
// Shared by the holder, memo file and container tests: building holders,
// describing them for comparison, and catching the model's log lines.

#include <string>
#include <string_view>
#include <vector>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"

namespace zel::test {

// A node appended under `name` with the given memo lines.
inline MemoNode* addTextNode(MemoHolder& holder, std::string_view name,
                             std::vector<std::string> memo = {}) {
    auto node = holder.newNode_();
    MemoNode* added = node.get();
    holder.addNode_(std::move(node), name);
    added->memo = std::move(memo);
    return added;
}

// Everything of the nodes a holder file carries, one line per fact, in order.
inline std::vector<std::string> describeNodes(const MemoHolder& holder) {
    std::vector<std::string> facts;
    for (int i = 0; i < holder.count_(); ++i) {
        const MemoNode& node = *holder.at_(i);
        facts.push_back("node " + node.getName_());
        for (std::size_t f = 0; f < node.fields.size(); ++f)
            facts.push_back("  field " + node.fields[f]);
        for (const auto& line : node.comment) facts.push_back("  comment " + line);
        for (const auto& line : node.memo) facts.push_back("  memo " + std::string(line));
    }
    return facts;
}

// Collects log lines while alive.
class CapturedLog {
  public:
    CapturedLog()
        : previous_(setLogSink([this](std::string_view line) { lines.emplace_back(line); })) {}
    ~CapturedLog() { setLogSink(std::move(previous_)); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    std::vector<std::string> lines;

  private:
    LogSink previous_;
};

inline std::string fixture(std::string_view name) {
    return std::string(ZEL_TEST_DATA) + "/memo/" + std::string(name);
}

}  // namespace zel::test
