// Saving the current holder without closing: the tool bar's "SAVE".

#include "app/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/DateTime.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr long long kKiloByte = 1024;

// Up to 1024 bytes in bytes, above in whole kilobytes.
std::string sizeText(long long size) {
    return size <= kKiloByte ? std::to_string(size) + "Bytes"
                             : std::to_string(size / kKiloByte) + "KBytes";
}

}  // namespace

long long TFormMainScript::UISaveHolderNoMSG() {
    if (nowDoing()) return -1;
    if (!getCurHolder()) return -9;
    UI2Model();
    return UISaveHolder();
}

long long TFormMainScript::UISaveHolder() {
    MemoHolder* holder = getCurHolder();
    if (!holder) return -9;
    const std::string path = holderFilePath_(*holder);
    const std::string directory(folderOf(path));
    if (directory.empty() || !dirExists(directory)) {
        const Answer answer =
            prompter().ask(Tone::Confirmation, "Make Directory ?  \"" + directory + "\"",
                           ButtonYes | ButtonCancel);
        if (answer != Answer::Yes) return -1;
        if (!directory.empty()) makeDirs(directory);
    }
    startDoing_("_UISaveHolder");
    const int count = holder->count_();
    std::string error;
    const long long size = saveHolderFile_(*holder, path, &error);
    if (size < 0) {
        addLog_("ERROR c:=" + std::to_string(count) + " in _UISaveHolder. " + error);
        doneDoing_("ERROR c:=" + std::to_string(count) + " in _UISaveHolder.");
        return -1;
    }
    holder->changed = false;
    doneDoing();
    messageDoing_("Done: Saved size=" + sizeText(size) + " count of Nodes=" +
                  std::to_string(count) + " CountSave=" + std::to_string(holder->countSave) + " " +
                  formatDateTime("yyyy/mm/dd hh:nn:ss:zzz", holder->timeSaved) + " " + path);
    return size;
}

}  // namespace zel
