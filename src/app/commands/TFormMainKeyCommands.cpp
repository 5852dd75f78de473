// The commands that came with the keys: save everything, step through the
// holders, and go to a node by name.

#include "app/window/GoToNodeWindow.h"
#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"

namespace zel {

namespace {

std::vector<MemoHolder*> changedHolders(const MemoFile& file) {
    std::vector<MemoHolder*> changed;
    HolderList holders;
    file.listHolders_(holders);
    for (auto& [name, holder] : holders)
        if (holder->changed) changed.push_back(holder);
    return changed;
}

// The holder `delta` places from the current one, round past either end.
int stepHolder(TFormMainScript& window, int delta) {
    if (window.refuse(Busy)) return kFailed;
    const int count = window.aFile->countOfHolders_();
    const int index = window.aFile->indexOfHolder_(window.getCurHolder());
    if (count == 0 || index < 0) return kNoHolder;
    const int next = ((index + delta) % count + count) % count;
    window.changeHolder_(window.aFile->holderAt_(next));
    return next;
}

}  // namespace

int TFormMainScript::UISaveEverything() {
    if (refuse(Busy) || !getCurMemoNode()) return kFailed;
    UI2Model();
    const std::vector<MemoHolder*> holders = changedHolders(*aFile);
    if (!aFile->changed && holders.empty()) {
        messageDoing_("Done: Save Everything: nothing changed");
        return 0;
    }
    CommandScope scope(*this, "Save Everything");
    const MemoFileSaveResult saved = saveTogether_(aFile->changed, holders);
    if (!saved.ok) {
        scope.endWith("ERROR: Save Everything " + saved.error);
        return kFailed;
    }
    const int files = static_cast<int>(saved.written.size());
    scope.endWith("Done: Save Everything " + std::to_string(files) + " files");
    return files;
}

int TFormMainScript::UINextHolder() {
    return stepHolder(*this, 1);
}

int TFormMainScript::UIPreviousHolder() {
    return stepHolder(*this, -1);
}

int TFormMainScript::UIGoToNode() {
    if (refuse(Busy) || !getCurHolder()) return kFailed;
    UI2Model();
    auto* finder = findChild<GoToNodeWindow*>();
    if (!finder) finder = new GoToNodeWindow(*this);
    finder->start();
    return 0;
}

}  // namespace zel
