#pragma once
// The scanning engine behind the search windows and zel-tool: Scan, Replace
// and Grep over the nodes of one holder or of several, in display order, with
// the entries and the status texts the windows show. It knows no window: what
// it needs from its surroundings (loading a holder, the status line, Break,
// the log) it asks a ScanHost.

#include <string>
#include <string_view>
#include <vector>

#include "search/ScanResults.h"

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

enum class ScanKind { Scan, Replace, Grep };

struct ScanSections {
    bool name = true;
    bool memo = false;
    bool comment = false;
    bool fields = false;
};

struct ScanRequest {
    ScanKind kind = ScanKind::Scan;
    std::string keyword;
    // What Replace puts in; empty deletes.
    std::string replacement;
    ScanSections sections;
    bool ignoreCase = true;
    // The texts of the several-holders window rather than the one-holder one.
    bool severalHolders = false;
};

class ScanHost {
  public:
    virtual ~ScanHost() = default;
    // Reads a holder that is not loaded yet from its own file, as showing it
    // would; a holder left unloaded is searched with what it holds.
    virtual void loadHolder(MemoHolder& holder) = 0;
    virtual void status(std::string_view text) = 0;
    // Polled every 50 nodes; true stops the run with what it found so far.
    virtual bool breakRequested() = 0;
    virtual void log(std::string_view text) = 0;
    // A replace changed nodes of `holder`; the holder is already marked changed.
    virtual void holderReplaced(MemoHolder& holder) = 0;
};

struct ScanOutcome {
    enum class Box { None, Warning, Confirmation };
    // The status text at the end, and the box that shows it too.
    std::string status;
    Box box = Box::None;
    std::size_t entries = 0;
    // Stopped by Break: the entries are those found until then.
    bool broken = false;
    // At least one holder was searched (a one-holder run without a holder stops).
    bool searched = false;
    // The holders Replace changed, in the order searched.
    std::vector<std::string> changedHolders;
};

// Runs `request` over the holders of `file` named in `holderNames` (each found
// by name when its turn comes; unknown names are skipped), after clearing
// `results`. Replace skips read-only holders and nodes and marks every holder
// it changes. Nodes are walked from a snapshot taken per holder, and a node
// that has gone by the time it is reached is skipped.
ScanOutcome runScan(MemoFile& file, const std::vector<std::string>& holderNames,
                    const ScanRequest& request, ScanHost& host, ScanResults& results);

// The node window's Grep: every section of `node`, entries named after
// `holderName`, into `results` (cleared first).
ScanOutcome grepNode(const MemoNode& node, std::string_view holderName, std::string_view keyword,
                     bool ignoreCase, ScanResults& results);

}  // namespace zel
