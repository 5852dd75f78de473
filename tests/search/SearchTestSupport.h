#pragma once
// Memo files of holders with named nodes, and a scan host that records what
// a run asks of it.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "search/HolderScan.h"

namespace zel::test {

// A loaded holder appended to `file`, one node per name, each node's memo
// text the lines given for it (if any).
inline MemoHolder& addHolder(MemoFile& file, const std::string& name,
                             const std::vector<std::string>& nodeNames,
                             const std::vector<std::vector<std::string>>& memos = {}) {
    MemoHolder* holder = file.createHolder_(-1);
    holder->putName_as_(name);
    holder->loaded = true;
    for (std::size_t i = 0; i < nodeNames.size(); ++i) {
        auto node = holder->newNode_();
        if (i < memos.size()) node->memo = memos[i];
        holder->addNode_(std::move(node), nodeNames[i]);
    }
    return *holder;
}

class RecordingHost : public ScanHost {
  public:
    void loadHolder(MemoHolder& holder) override {
        loads.push_back(holder.getName_());
        if (onLoad) onLoad(holder);
        holder.loaded = true;
    }
    void status(std::string_view text) override { statuses.emplace_back(text); }
    bool breakRequested() override {
        ++polls;
        return onPoll ? onPoll() : false;
    }
    void log(std::string_view text) override { logs.emplace_back(text); }
    void holderReplaced(MemoHolder& holder) override { replaced.push_back(holder.getName_()); }

    std::vector<std::string> loads, statuses, logs, replaced;
    int polls = 0;
    std::function<void(MemoHolder&)> onLoad;
    std::function<bool()> onPoll;
};

inline ScanRequest request(ScanKind kind, std::string keyword, ScanSections sections,
                           bool several = false, bool ignoreCase = true) {
    ScanRequest r;
    r.kind = kind;
    r.keyword = std::move(keyword);
    r.sections = sections;
    r.severalHolders = several;
    r.ignoreCase = ignoreCase;
    return r;
}

inline constexpr ScanSections kNameOnly{true, false, false, false};
inline constexpr ScanSections kMemoOnly{false, true, false, false};
inline constexpr ScanSections kAllSections{true, true, true, true};

}  // namespace zel::test
