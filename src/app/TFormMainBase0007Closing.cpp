// Saving before anything changed is lost: the close question, the exit
// commands and the idle auto save.

#include <QCloseEvent>

#include "app/Stamps.h"
#include "app/TFormMainBase0007.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kTerminateQuestion =
    "Terminate zel.exe \r\n\r\nYes: Terminate zel.exe after save memo holders that you "
    "changed.\r\nNo: Terminate zel.exe without saveing memo holders.\r\nCancel: Cancel the "
    "termination.";

// Auto save runs only for intervals above this many seconds.
constexpr int kShortestAutoSaveSeconds = 60;

}  // namespace

Answer TFormMainBase0007::askSave(std::string_view question) {
    if (allYes) return Answer::YesToAll;
    Answer answer = prompter_->ask(Tone::Confirmation, question,
                                   ButtonYes | ButtonNo | ButtonCancel | ButtonYesToAll);
    if (answer == Answer::YesToAll) allYes = true;
    return answer;
}

long long TFormMainBase0007::writeMemoFileToItsName_() {
    const std::string path = aFile->getMemoFilePath_();
    const std::string extension = lowerText(extensionOf(path));
    long long size = -1;
    std::string error;
    if (extension == ".mxa") {
        std::vector<std::string> lines;
        aFile->writeMemoFile_(lines);
        const std::string text = linesText(lines);
        bool throughLock = flagFileLock && fileLock.isOpen() && fileLock.path() == path;
        IoResult written = throughLock ? fileLock.write(text) : writeFileSafely(path, text);
        if (written)
            size = static_cast<long long>(text.size());
        else
            error = written.message;
    } else {
        if (extension == ".maz") {
            for (int i = 0; i < aFile->countOfHolders_(); ++i) {
                MemoHolder* holder = aFile->holderAt_(i);
                if (!holder->loaded) loadHolder_(holder);
            }
        }
        size = aFile->saveMemoFile_(path);
        error = aFile->lastError();
    }
    if (size < 0) {
        addLog_("ERROR: could not save the MemoFile " + path + " " + error);
        return -1;
    }
    aFile->changed = false;
    return size;
}

bool TFormMainBase0007::saveHolderToItsFile_(MemoHolder& holder) {
    const std::string path = holderFilePath_(holder);
    std::string error;
    if (saveHolderFile_(holder, path, &error) < 0) {
        addLog_("ERROR: could not save the MemoHolder " + path + " " + error);
        return false;
    }
    holder.changed = false;
    return true;
}

bool TFormMainBase0007::querySaveChanges_() {
    if (!aFile || nowDoing()) return true;
    UI2Model();
    // A save that fails keeps the window open: closing now would lose the changes.
    if (aFile->changed) {
        Answer answer = askSave("Shall I Save a MemoFile named as \r\n\"" +
                                aFile->getMemoFilePath_() + "\". ?");
        if (answer == Answer::Cancel) return false;
        if (answer != Answer::No && writeMemoFileToItsName_() < 0) {
            prompter_->error("ERROR: could not save " + aFile->getMemoFilePath_());
            return false;
        }
    }
    HolderList holders;
    aFile->listHolders_(holders);
    for (auto& [name, holder] : holders) {
        if (!holder->changed) continue;
        Answer answer = askSave("Should I Save a MemoHolder named as \r\n\"" +
                                holderFilePath_(*holder) + "\". ?");
        if (answer == Answer::Cancel) return false;
        if (answer == Answer::No) continue;
        if (!holder->loaded) loadHolder_(holder);
        if (!saveHolderToItsFile_(*holder)) {
            prompter_->error("ERROR: could not save " + holderFilePath_(*holder));
            return false;
        }
    }
    return true;
}

void TFormMainBase0007::closeEvent(QCloseEvent* event) {
    if (terminating_ || querySaveChanges_())
        event->accept();
    else
        event->ignore();
}

int TFormMainBase0007::UIExit() {
    allYes = false;
    close();
    return 0;
}

int TFormMainBase0007::UIExitAllYes() {
    allYes = true;
    close();
    return 0;
}

int TFormMainBase0007::UITerminate_(std::string_view text) {
    std::string question =
        trimText(text).empty() ? std::string(kTerminateQuestion) : std::string(text);
    switch (prompter_->ask(Tone::Warning, question, ButtonYes | ButtonNo | ButtonCancel)) {
        case Answer::Yes:
            UIExit();
            return 0;
        case Answer::No:
            terminating_ = true;
            close();
            if (endApplication) endApplication();
            return 0;
        default:
            return -1;
    }
}

void TFormMainBase0007::autoSaveOnIdle(const QDateTime& now) {
    if (isDoing()) return;
    const int interval = getAutoSaveTime();
    if (interval <= kShortestAutoSaveSeconds) return;
    if (lastAutoSaveTime.secsTo(now) <= interval) return;
    startDoing_("Auto Save");
    UI2Model();
    aFile->saveHolders_(false);
    doneDoing_(autoSaveStamp(now) + " Done Save Auto.");
    lastAutoSaveTime = now;
}

}  // namespace zel
