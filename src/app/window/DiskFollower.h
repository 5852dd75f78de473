#pragma once
// The window follows its memo file while other programs (a sync engine, git,
// an editor on another device's share) write it. The index and every loaded
// holder file are watched; once they settle, a file that holds what the
// window last read or wrote is left alone (so our own saves pass), and one
// another program changed is taken in: a holder without unsaved changes is
// read again in place, one with changes gets the other program's changes
// merged node by node, and an index merges its holder list, so holders the
// other program added appear as tabs. The current node and the list's place
// stay. Conflict copies a sync engine left beside a holder file are offered
// to be merged in. A holder not loaded yet is read as it is when first shown.

#include <set>
#include <string>
#include <vector>

#include "app/window/DiskBases.h"
#include "app/window/DiskWatch.h"
#include "merge/DiskUpdate.h"

namespace zel {

class MemoFile;
class MemoHolder;
class TFormMainBase0007;

class DiskFollower {
  public:
    explicit DiskFollower(TFormMainBase0007& window);

    // After the window read or wrote files of its memo file: what they hold
    // now is what it knows, and the files to watch may have changed. A look
    // follows soon, so conflict copies are found at open too.
    void follow();
    // Takes in what other programs changed, as the watch does once the
    // files settled. While the window runs a command or asks a question, the
    // look is put off until it is idle.
    void takeChanges();
    bool isLookPending() const { return watch_.isPending(); }

  private:
    class HolderOnHold;

    bool mustWait() const;
    std::vector<MemoHolder*> loadedHolders() const;
    // The files the window knows the disk version of (index, loaded holders).
    std::vector<std::string> knownFiles() const;
    void watchKnownFiles();

    // Reads the file at `path` when another program changed it since the
    // window knew it as `known`; a file as known keeps its base.
    bool readChange(const std::string& path, const DiskVersion& known, std::string& now,
                    FileStamp& stamp);
    void takeIndexChange();
    void keepHoldersWithChanges(MemoFile& theirs) const;
    void takeHolderChange(MemoHolder& holder);
    void tellHolderUpdate(MemoHolder& holder, const std::string& path, const HolderUpdate& update);
    void offerConflictCopies();
    void mergeConflictCopy(MemoHolder& holder, const std::string& copy);
    void logConflicts(const MergeReport& report);

    TFormMainBase0007& window_;
    DiskWatch watch_;
    DiskBases bases_;
    // Conflict copies the user chose not to merge (or that could not be read).
    std::set<std::string> passedCopies_;
    bool taking_ = false;
};

}  // namespace zel
