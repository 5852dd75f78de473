#include "search/HolderScan.h"

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "text/LineMatcher.h"

namespace zel {

namespace {

constexpr std::size_t kPollEvery = 50;

// Display order, taken once: the walk must not follow a list that changes
// under it, and a node deleted meanwhile is found gone through its reference.
struct Snapshot {
    NodeList list;
    std::vector<NodeRef> refs;

    explicit Snapshot(const MemoHolder& holder) {
        holder.setNodeList_(list);
        refs.reserve(list.size());
        for (const auto& entry : list) refs.emplace_back(entry.second);
    }
};

void grepInto(const MemoNode& node, std::string_view holderName, std::string_view nodeName,
              const LineMatcher& matcher, const ScanSections& sections, ScanResults& results) {
    bool begun = false;
    node.grep_(
        matcher,
        [&](const GrepHit& hit) {
            if (!begun) results.beginGrep(NodeRef(&node), {holderName, ":", nodeName, ":"});
            begun = true;
            results.addGrepHit(hit.label, hit.hit, hit.line, hit.text);
        },
        sections.fields, sections.comment, sections.memo, sections.name);
}

class Run {
  public:
    Run(MemoFile& file, const ScanRequest& request, ScanHost& host, ScanResults& results)
        : file_(file),
          request_(request),
          host_(host),
          results_(results),
          matcher_(request.keyword, request.ignoreCase) {}

    ScanOutcome over(const std::vector<std::string>& holderNames) {
        results_.clear();
        if (const std::string start = startText(); !start.empty()) host_.status(start);
        for (const std::string& name : holderNames) {
            MemoHolder* holder = file_.holderByName_(name);
            if (!holder) continue;
            outcome_.searched = true;
            if (!holder->loaded) host_.loadHolder(*holder);
            if (request_.severalHolders) {
                lastHolderText_ = holderText(*holder);
                host_.status(lastHolderText_);
            }
            if (!walk(*holder)) {
                outcome_.broken = true;
                break;
            }
        }
        outcome_.entries = results_.size();
        finish();
        return std::move(outcome_);
    }

  private:
    std::string startText() const {
        const std::string& keyword = request_.keyword;
        switch (request_.kind) {
            case ScanKind::Scan:
                return request_.severalHolders ? "" : "*Scanning* " + keyword;
            case ScanKind::Replace:
                return "*Replacing* " + keyword + " " + request_.replacement;
            case ScanKind::Grep:
                return request_.severalHolders ? "" : "*Grep* " + keyword;
        }
        return {};
    }

    std::string holderText(const MemoHolder& holder) const {
        const char* what = request_.kind == ScanKind::Grep ? "*Grep* " : "*Scanning* ";
        return what + request_.keyword + " " + holder.getName_();
    }

    // False when Break stopped the walk.
    bool walk(MemoHolder& holder) {
        if (request_.kind == ScanKind::Replace && holder.isReadOnlyEffective_()) {
            host_.log("This MemoHolder is Read Only. (" + holder.getName_() + ")");
            return true;
        }
        const std::string holderName = holder.getName_();
        const Snapshot snapshot(holder);
        bool changed = false;
        for (std::size_t i = 0; i < snapshot.refs.size(); ++i) {
            if (i > 0 && i % kPollEvery == 0 && host_.breakRequested()) {
                if (changed) replaced(holder);
                return false;
            }
            MemoNode* node = snapshot.refs[i].get();
            if (!node) continue;
            const std::string& nodeName = snapshot.list[i].first;
            const ScanSections& in = request_.sections;
            switch (request_.kind) {
                case ScanKind::Scan:
                    if (node->contains_(matcher_, in.fields, in.comment, in.memo, in.name))
                        results_.add(node, {holderName, " ", nodeName});
                    break;
                case ScanKind::Grep:
                    grepInto(*node, holderName, nodeName, matcher_, in, results_);
                    break;
                case ScanKind::Replace:
                    changed |= replaceIn(*node, holderName, nodeName);
                    break;
            }
        }
        if (changed) replaced(holder);
        return true;
    }

    // The holder and the memo file were found writable before the walk.
    bool replaceIn(MemoNode& node, const std::string& holderName, const std::string& nodeName) {
        if (node.isReadOnly_()) {
            if (matcher_.empty() ||
                !node.contains_(matcher_, request_.sections.fields, request_.sections.comment,
                                request_.sections.memo, request_.sections.name))
                return false;
            host_.log("This MemoNode is Read Only. (" + holderName + ":" + nodeName + ")");
            return false;
        }
        scratch_.clear();
        const ScanSections& in = request_.sections;
        node.replace_(matcher_, request_.replacement, scratch_, in.fields, in.comment, in.memo,
                      in.name);
        for (const std::string& change : scratch_)
            results_.add(&node, {holderName, ":", nodeName, ":", change});
        return !scratch_.empty();
    }

    // Replacements are changes like any other: without the flag the close
    // question would not offer to save them.
    void replaced(MemoHolder& holder) {
        holder.changed = true;
        outcome_.changedHolders.push_back(holder.getName_());
        host_.holderReplaced(holder);
    }

    void finish() {
        const std::string& keyword = request_.keyword;
        const std::string count = std::to_string(results_.size());
        const bool none = results_.empty();
        using Box = ScanOutcome::Box;
        if (!outcome_.searched && !request_.severalHolders) {
            outcome_.status = startText();
            return;
        }
        if (outcome_.broken) {
            static constexpr const char* kNames[] = {"Scan", "Replace", "Grep"};
            outcome_.status = std::string("Break: ") + kNames[static_cast<int>(request_.kind)] +
                              " count=" + count + " KeyWord=" + keyword;
            return;
        }
        switch (request_.kind) {
            case ScanKind::Scan:
                if (request_.severalHolders) {
                    outcome_.status = none ? "*Done Scan* No match KeyWord=" + keyword
                                           : "*Done Scan* count=" + count + " keyWord=" + keyword;
                    outcome_.box = none ? Box::Confirmation : Box::None;
                } else {
                    outcome_.status =
                        none ? "*Done Scan* No match" : "*Done Scan* " + keyword + " " + count;
                    outcome_.box = none ? Box::Warning : Box::None;
                }
                break;
            case ScanKind::Replace:
                outcome_.status = none ? "*Done Replace* No match KeyWord=" + keyword
                                       : "*Done Replace* count=" + count + " KeyWord=" + keyword;
                outcome_.box = none ? Box::Confirmation : Box::None;
                break;
            case ScanKind::Grep:
                if (request_.severalHolders) {
                    // With hits the status keeps the last holder's "*Grep* " line.
                    outcome_.status = none ? "No match" : lastHolderText_;
                } else {
                    outcome_.status = none ? "*Done Grep* No match KeyWord=" + keyword
                                           : "*Done Grep* count=" + count + " KeyWord=" + keyword;
                }
                outcome_.box = none ? Box::Confirmation : Box::None;
                break;
        }
    }

    MemoFile& file_;
    const ScanRequest& request_;
    ScanHost& host_;
    ScanResults& results_;
    const LineMatcher matcher_;
    std::vector<std::string> scratch_;
    std::string lastHolderText_;
    ScanOutcome outcome_;
};

}  // namespace

ScanOutcome runScan(MemoFile& file, const std::vector<std::string>& holderNames,
                    const ScanRequest& request, ScanHost& host, ScanResults& results) {
    return Run(file, request, host, results).over(holderNames);
}

ScanOutcome grepNode(const MemoNode& node, std::string_view holderName, std::string_view keyword,
                     bool ignoreCase, ScanResults& results) {
    results.clear();
    const LineMatcher matcher(keyword, ignoreCase);
    const ScanSections all{true, true, true, true};
    grepInto(node, holderName, node.getName_(), matcher, all, results);
    ScanOutcome outcome;
    outcome.searched = true;
    outcome.entries = results.size();
    const std::string k(keyword);
    if (results.empty()) {
        outcome.status = "*Done Grep* No match KeyWord=" + k;
        outcome.box = ScanOutcome::Box::Confirmation;
    } else {
        outcome.status = "*Done Grep* count=" + std::to_string(results.size()) + " KeyWord=" + k;
    }
    return outcome;
}

}  // namespace zel
