// The File menu's commands on the memo file as a whole: opening, creating,
// saving and saving under another name or format.

#include "app/window/TFormMainScript.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr const char* kMemoFileFilter =
    "MXA files (*.mxa)|*.mxa|MAZ files (*.maz)|*.maz|ALL files (*.*)|*.*";

bool isMemoFileExtension(std::string_view extension) {
    const std::string lower = lowerText(extension);
    return lower == ".mxa" || lower == ".maz";
}

}  // namespace

int TFormMainScript::UIOpenMXA() {
    if (refuse(Busy) || !querySaveChanges_()) return kFailed;
    const std::string path = prompter().openFileName(kMemoFileFilter, "new.mxa");
    if (path.empty()) return kFailed;
    const int result = _open_(path);
    if (result < 0) messageDoing_("Can not load \"" + path + "\".");
    return result;
}

int TFormMainScript::UIOpenURL() {
    if (refuse(Busy) || !querySaveChanges_()) return kFailed;
    const std::string address = trimText(prompter().inputBox("", "", ""));
    if (address.empty()) {
        messageDoing_("Cancel: UIOpenURL");
        return kFailed;
    }
    const int result = _open_(address);
    if (result < 0) {
        const std::string failure = "Can not load \"" + address + "\".";
        prompter().ask(Tone::Confirmation, failure, ButtonOk);
        messageDoing_(failure);
        return result;
    }
    messageDoing_("Done: UIOpenURL " + address);
    return result;
}

int TFormMainScript::UINewFile() {
    if (refuse(Busy) || !querySaveChanges_()) return kFailed;
    newMemoFile_();
    return 0;
}

long long TFormMainScript::UISaveFileWithMSG() {
    if (refuse(Busy) || !getCurMemoNode()) return kFailed;
    UI2Model();
    const Answer answer = prompter().ask(
        Tone::Confirmation, "Could I save the file named \"" + aFile->getMemoFilePath_() + "\" ?",
        ButtonYes | ButtonCancel);
    if (answer != Answer::Yes) {
        messageDoing_("Cancel: UISaveFileWithMSG");
        return kFailed;
    }
    return UISaveMemoFile();
}

long long TFormMainScript::UISaveFileWithoutMSG() {
    if (refuse(Busy) || !getCurMemoNode()) return kFailed;
    UI2Model();
    return UISaveMemoFile();
}

bool TFormMainScript::ensureFolderFor(std::string_view path) {
    const std::string directory(folderOf(path));
    if (!directory.empty() && dirExists(directory)) return true;
    const Answer answer = prompter().ask(
        Tone::Confirmation, "Make Directory ?  \"" + directory + "\"", ButtonYes | ButtonCancel);
    if (answer != Answer::Yes) return false;
    if (directory.empty()) return true;
    if (IoResult made = makeDirs(directory); !made) {
        addLog_("ERROR: could not make the directory " + directory + " " + made.message);
        return false;
    }
    return true;
}

long long TFormMainScript::UISaveMemoFile() {
    const std::string path = aFile->getMemoFilePath_();
    if (!ensureFolderFor(path)) return kFailed;
    CommandScope scope(*this, "Save MemoFile(.mxa) " + path);
    const long long size = writeMemoFileToItsName_();
    if (size < 0) {
        scope.endWith("ERROR: _UISaveMemoFile ");
        return kFailed;
    }
    scope.endWith("Done: Save MemoFole Size=" + std::to_string(size) + "bytes  " + path);
    return size;
}

long long TFormMainScript::saveAsMemoFile_(std::string_view extension) {
    if (refuse(Busy) || !getCurMemoNode()) return kFailed;
    UI2Model();
    const std::string previous = aFile->getMemoFilePath_();
    const std::string path =
        prompter().saveFileName(saveDialogFilter_, withExtension(previous, extension));
    if (path.empty()) return kFailed;
    // Another extension would give the memo file a name no save can write.
    if (!isMemoFileExtension(extensionOf(path))) {
        messageDoing_("FileExtention is missmatch.  \"" + path + "\"");
        return kFailed;
    }
    // Holder files are found beside the memo file: every holder is read from
    // the old place before the name changes, or it would be looked for where
    // it is not and come back empty.
    const bool moved = lowerText(folderOf(path)) != lowerText(folderOf(previous));
    if (moved || lowerText(extensionOf(path)) == ".maz") loadEveryHolder();
    if (moved) markEveryHolderChanged();
    aFile->setFilename(path);
    // The memo file is the one chosen now, not the container it came from.
    aFile->containerPath.clear();
    if (flagFileLock) {
        fileLock.close();
        if (!holdWriterLock) writerLock.release();
        flagFileLock = false;
        addLog_("FlagFileLock=false in TFormMainScript.saveAsMemoFile_");
    }
    CommandScope scope(*this, "Save As MemoFile");
    const long long size = aFile->saveMemoFile_(path);
    if (size < 0) {
        addLog_("ERROR: could not save the MemoFile " + path + " " + aFile->lastError());
        scope.endWith("ERROR: Save As MemoFile " + path);
        return kFailed;
    }
    aFile->changed = false;
    setCaption_();
    scope.endWith("Done: Save As MemoFile Size=" + std::to_string(size) + "bytes  " + path);
    return size;
}

void TFormMainScript::markEveryHolderChanged() {
    for (int i = 0; i < aFile->countOfHolders_(); ++i) aFile->holderAt_(i)->changed = true;
}

void TFormMainScript::loadEveryHolder() {
    for (int i = 0; i < aFile->countOfHolders_(); ++i) {
        MemoHolder* holder = aFile->holderAt_(i);
        if (holder->loaded) continue;
        const std::string path = holderFilePath_(*holder);
        if (fileExists(path))
            readHolderFile_(holder, path);
        else
            addLog_("Not Found Holder: " + path);
        holder->loaded = true;
    }
}

int TFormMainScript::UISaveAllHolders() {
    if (refuse(Busy)) return kFailed;
    CommandScope scope(*this, "Save All Holders");
    UI2Model();
    return aFile->saveHolders_(false);
}

int TFormMainScript::UIExplorerMemoFile() {
    if (refuse(Busy)) return kFailed;
    const std::string directory = aFile->getMemoFileDir_();
    openWithShell(directory);
    messageDoing_("Done: Explorer " + directory);
    return 0;
}

}  // namespace zel
