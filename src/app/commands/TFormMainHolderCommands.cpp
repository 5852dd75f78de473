// The [Holder] menu's commands on whole holders: opening holder files and CSV
// tables, renaming, deleting and copying.

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

constexpr const char* kHolderFilter =
    "MXH files (*.mxh)|*.mxh| MHZ (*.mhz) | *.mhz | ALL files (*.*)|*.*";
constexpr const char* kCSVFilter =
    "CSV files (*.csv)|*.csv| text (*.txt) | *.txt | ALL files (*.*)|*.*";

}  // namespace

int TFormMainScript::UIOpenHolder() {
    if (refuse(Busy | UIReadOnly)) return kFailed;
    const std::string path =
        prompter().openFileName(kHolderFilter, aFile->getMemoFileDir_() + "new.mxh");
    if (path.empty()) return kFailed;
    return openHolder_(path) ? 0 : kFailed;
}

bool TFormMainScript::holderFromCSV(const std::vector<std::string>& lines, std::string_view name) {
    MemoHolder* holder = csvToHolder_(*aFile, lines);
    if (!holder) return false;
    holder->putName_as_(name);
    holder->loaded = true;
    holder->changed = true;
    aFile->changed = true;
    refreshHolderList();
    changeHolder_(holder);
    return true;
}

int TFormMainScript::UIOpenCSV() {
    if (refuse(Busy | UIReadOnly)) return kFailed;
    const std::string path =
        prompter().openFileName(kCSVFilter, aFile->getMemoFileDir_() + "new.csv");
    if (path.empty()) return kFailed;
    CommandScope scope(*this, "Open CSV -> Holder " + path);
    std::string text;
    const IoResult read = readFile(path, text);
    if (!read) addLog_("ERROR: could not read " + path + " " + read.message);
    return read && holderFromCSV(textLines(text), baseNameOf(path)) ? 0 : kFailed;
}

int TFormMainScript::UICSV2Holder() {
    if (refuse(Busy) || !nodeEditor()) return kFailed;
    CommandScope scope(*this, "CSV -> Holder");
    return holderFromCSV(textLines(nodeEditor()->memoText()), "CSV") ? 0 : kFailed;
}

int TFormMainScript::UIRenameHolder() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    std::string wanted = holder->getName_();
    if (!prompter().inputQuery("Rename Current MemoHolder", "Input new Name.", wanted))
        return kFailed;
    wanted = trimText(wanted);
    if (wanted.empty()) return kFailed;
    holder->putName_as_(wanted);
    holder->changed = true;
    aFile->changed = true;
    messageDoing_("Changed MemoHolder Name " + holder->getName_());
    return 0;
}

int TFormMainScript::UIRenameHolderOther() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    holder->putName_as_(aFile->uniqueHolderName_(holder->getName_()));
    holder->changed = true;
    aFile->changed = true;
    messageDoing_("Changed MemoHolder Name " + holder->getName_());
    return 0;
}

MemoHolder* TFormMainScript::holderAfterDeleting(int index) const {
    const int count = aFile->countOfHolders_();
    return aFile->holderAt_(index < count ? index : count - 1);
}

int TFormMainScript::UIDeleteHolder() {
    if (refuse(Busy)) return kFailed;
    if (aFile->countOfHolders_() <= 1) {
        messageDoing_("Don't Delete Holder.  Only One Holder!");
        return kFailed;
    }
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    if (holder->changed) {
        const Answer answer = prompter().ask(
            Tone::Confirmation, "Shall I Save Current Holder ? \r\n" + holderFilePath_(*holder),
            ButtonYes | ButtonNo | ButtonCancel);
        if (answer == Answer::Cancel) return kFailed;
        // A holder that could not be saved is not thrown away.
        if (answer == Answer::Yes && UISaveHolderNoMSG() < 0) return kFailed;
    }
    if (prompter().ask(Tone::Confirmation,
                       "Shall I delete Current Holder Realy ?\r\n\"" + holder->getName_() + "\"",
                       ButtonYes | ButtonNo) != Answer::Yes)
        return kFailed;
    if (auto* shown = dynamic_cast<MemoHolderUI*>(holder)) shown->closeNodeWindows_();
    releaseViews();
    int index = -1;
    std::unique_ptr<MemoHolder> removed = aFile->removeHolder_(holder, &index);
    aFile->changed = true;
    refreshHolderList();
    changeHolder_(holderAfterDeleting(index));
    return 0;
}

int TFormMainScript::UICopyHolder() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* source = getCurHolder();
    if (!source) return kNoHolder;
    UI2Model();
    std::unique_ptr<TObjectNamed> made = source->deepCopy();
    auto* copy = dynamic_cast<MemoHolder*>(made.get());
    if (!copy) return kFailed;
    std::unique_ptr<MemoHolder> owned(copy);
    made.release();
    const std::string name = aFile->uniqueHolderName_(source->getName_() + "_copy");
    // A holder kept outside the memo file's folder names its own file: the
    // copy gets a file of its own name there, never the source's file.
    if (copy->isFlagExtra_()) {
        const std::string sourcePath = holderFilePath_(*source);
        copy->putField_("Filename",
                        wrapQuotes(std::string(folderOf(sourcePath)) + safeFileName(name) +
                                   std::string(extensionOf(sourcePath))));
    }
    copy->loaded = true;
    copy->changed = true;
    aFile->addHolder_(std::move(owned), name);
    aFile->changed = true;
    refreshHolderList();
    const ListMode mode = storedListMode(*source);
    changeHolder_(copy);
    showListMode(mode == ListMode::Tree || mode == ListMode::List ? mode : ListMode::CheckList);
    return 0;
}

}  // namespace zel
