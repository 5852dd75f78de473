// The tab commands: new holders beside the current one, the current holder
// moved among the tabs, the holder order window, and the list-mode switches.

#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "views/HolderTabs.h"
#include "views/MemoHolderUI.h"
#include "views/TFormHolders.h"

namespace zel {

int TFormMainScript::newHolderAt(int position, std::string_view announce, bool namedInDone) {
    // A second busy state would end the running command's and add a holder
    // under a loop that still walks the holder list.
    if (const int refused = refuse(Busy | UIReadOnly, kReadOnlyApart)) return refused;
    CommandScope scope(*this, announce);
    MemoHolder* holder = newHolder_(position);
    holder->setCurrent_(holder->makeNode_());
    HolderTabs::refreshTabsOf(*aFile);
    changeHolder_(holder);
    if (namedInDone) scope.endWith("Done: " + std::string(announce) + " " + holder->getName_());
    return 0;
}

int TFormMainScript::UINewHolder() {
    const int current = aFile->indexOfHolder_(getCurHolder());
    return newHolderAt(current < 0 ? -1 : current + 1, "New MemoHolder", true);
}

int TFormMainScript::UINewHolderLeft() {
    return newHolderAt(0, "New Holder Left", false);
}

int TFormMainScript::UINewHolderRight() {
    return newHolderAt(-1, "New Holder Right", false);
}

int TFormMainScript::moveCurrentHolder(int delta) {
    if (refuse(Busy | UIReadOnly | HolderReadOnly)) return kFailed;
    MemoFile& file = *aFile;
    const int index = file.indexOfHolder_(getCurHolder());
    if (index < 0 || index + delta < 0 || index + delta >= file.countOfHolders_()) return 0;
    if (delta > 0)
        file.moveHolderRight_(index);
    else
        file.moveHolderLeft_(index);
    // The holder order is saved in the memo file: without this mark a move
    // alone would be dropped at closing without a question.
    file.changed = true;
    HolderTabs::refreshTabsOf(file);
    return 0;
}

int TFormMainScript::UIMoveHolderRight() {
    return moveCurrentHolder(1);
}

int TFormMainScript::UIMoveHolderLeft() {
    return moveCurrentHolder(-1);
}

int TFormMainScript::UIShowHolders() {
    if (refuse(Busy) || !aFile) return kFailed;
    TFormHolders* holders = companion<TFormHolders>();
    holders->setFont(font());
    holders->fill(*aFile);
    holders->exec();
    return 0;
}

int TFormMainScript::changeListMode(ListMode mode, std::string_view status) {
    if (refuse(Busy) || !hasHolderView()) return 0;
    showListMode(mode);
    messageDoing_(status);
    return 0;
}

int TFormMainScript::UIChangeCheckListBox() {
    return changeListMode(ListMode::CheckList, "Change CheckListBox");
}

int TFormMainScript::UIChangeTreeView() {
    return changeListMode(ListMode::Tree, "Change TreeView");
}

int TFormMainScript::UIChangeListView() {
    return changeListMode(ListMode::List, "Change ListView");
}

}  // namespace zel
