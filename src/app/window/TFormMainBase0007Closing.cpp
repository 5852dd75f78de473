// Saving before anything changed is lost: the close question, the exit
// commands and the idle auto save.

#include <QCloseEvent>

#include "app/window/Stamps.h"
#include "app/window/TFormMainBase0007.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
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

// The answers are gathered first and the files written together, so closing
// never leaves some of them new and some old.
bool TFormMainBase0007::querySaveChanges_() {
    if (!aFile || nowDoing()) return true;
    UI2Model();
    bool index = false;
    if (aFile->changed) {
        Answer answer = askSave("Shall I Save a MemoFile named as \r\n\"" +
                                aFile->getMemoFilePath_() + "\". ?");
        if (answer == Answer::Cancel) return false;
        index = answer != Answer::No;
    }
    std::vector<MemoHolder*> chosen;
    HolderList holders;
    aFile->listHolders_(holders);
    for (auto& [name, holder] : holders) {
        if (!holder->changed) continue;
        Answer answer = askSave("Should I Save a MemoHolder named as \r\n\"" +
                                holderFilePath_(*holder) + "\". ?");
        if (answer == Answer::Cancel) return false;
        if (answer != Answer::No) chosen.push_back(holder);
    }
    if (!index && chosen.empty()) return true;
    // A save that fails keeps the window open: closing now would lose the changes.
    const MemoFileSaveResult saved = saveTogether_(index, chosen);
    if (!saved.ok) {
        prompter_->error("ERROR: could not save " + saved.error);
        return false;
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
            return kFailed;
    }
}

void TFormMainBase0007::autoSaveOnIdle(const QDateTime& now) {
    if (isDoing()) return;
    const int interval = getAutoSaveTime();
    if (interval <= kShortestAutoSaveSeconds) return;
    if (lastAutoSaveTime.secsTo(now) <= interval) return;
    {
        CommandScope saving(*this, "Auto Save");
        UI2Model();
        aFile->saveHolders_(false, false);
        saving.endWith(autoSaveStamp(now) + " Done Save Auto.");
    }
    lastAutoSaveTime = now;
}

}  // namespace zel
