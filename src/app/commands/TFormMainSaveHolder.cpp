// Saving the current holder without closing: the tool bar's "SAVE", the
// menu's save with a question, and saving under another name or format.

#include "app/window/TFormMainScript.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/DateTime.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr long long kKiloByte = 1024;
constexpr const char* kHolderSaveFilter =
    "Holder(*.mxh)|*.mxh|compress Holder(*.mhz)|ALL files (*.*)|*.*";

bool isHolderExtension(std::string_view extension) {
    const std::string lower = lowerText(extension);
    return lower == ".mxh" || lower == ".mhz";
}

// Up to 1024 bytes in bytes, above in whole kilobytes.
std::string sizeText(long long size) {
    return size <= kKiloByte ? std::to_string(size) + "Bytes"
                             : std::to_string(size / kKiloByte) + "KBytes";
}

}  // namespace

long long TFormMainScript::UISaveHolderNoMSG() {
    if (refuse(Busy)) return kFailed;
    if (!getCurHolder()) return kNoHolder;
    UI2Model();
    return UISaveHolder();
}

long long TFormMainScript::UISaveHolderWithMSG() {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    if (!getCurMemoNode()) return kFailed;
    UI2Model();
    const Answer answer = prompter().ask(
        Tone::Confirmation, "Sould I save Holder named \"" + holderFilePath_(*holder) + "\"",
        ButtonYes | ButtonCancel);
    if (answer == Answer::Cancel) return kFailed;
    return UISaveHolder();
}

long long TFormMainScript::saveAsHolder_(std::string_view extension) {
    if (refuse(Busy)) return kFailed;
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    if (!getCurMemoNode()) return kFailed;
    UI2Model();
    // The holder's own file, wherever its path comes from (a holder of an
    // index names no Filename of its own).
    const std::string proposed = withExtension(holderFilePath_(*holder), extension);
    saveDialogFilter_ = kHolderSaveFilter;
    const std::string path = prompter().saveFileName(kHolderSaveFilter, proposed);
    if (path.empty()) return kFailed;
    // Checked before the holder takes the name: with another extension no
    // later save could write it either.
    if (!isHolderExtension(extensionOf(path))) {
        messageDoing_("FileExtention is missmatch.  \"" + path + "\"");
        return kFailed;
    }
    holder->putField_("Filename", wrapQuotes(path));
    long long size = 0;
    {
        CommandScope scope(*this, "Save as Holder " + std::string(extension));
        std::string error;
        size = saveHolderFile_(*holder, path, &error);
        if (size < 0) {
            addLog_("ERROR: could not save the MemoHolder " + path + " " + error);
            scope.endWith("ERROR: Save as Holder " + path);
            return kFailed;
        }
    }
    holder->changed = false;
    messageDoing_("Done size=" + std::to_string(size));
    setCaption_();
    return size;
}

long long TFormMainScript::UISaveHolder() {
    MemoHolder* holder = getCurHolder();
    if (!holder) return kNoHolder;
    const std::string path = holderFilePath_(*holder);
    if (!ensureFolderFor(path)) return kFailed;
    const int count = holder->count_();
    long long size = 0;
    {
        CommandScope scope(*this, "_UISaveHolder");
        const MemoFileSaveResult saved = saveTogether_(false, {holder});
        if (!saved.ok) {
            addLog_("ERROR c:=" + std::to_string(count) + " in _UISaveHolder. " + saved.error);
            scope.endWith("ERROR c:=" + std::to_string(count) + " in _UISaveHolder.");
            return kFailed;
        }
        for (const auto& [file, written] : saved.written)
            if (file == path) size = written;
    }
    messageDoing_("Done: Saved size=" + sizeText(size) + " count of Nodes=" +
                  std::to_string(count) + " CountSave=" + std::to_string(holder->countSave) + " " +
                  formatDateTime("yyyy/mm/dd hh:nn:ss:zzz", holder->timeSaved) + " " + path);
    return size;
}

}  // namespace zel
