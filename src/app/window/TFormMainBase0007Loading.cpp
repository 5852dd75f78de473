// Loading memo files and holder files into the window's one memo file object.

#include <chrono>
#include <utility>

#include "app/window/NodeEditor.h"
#include "app/window/TFormMainBase0007.h"
#include "app/window/WindowState.h"
#include "formats/MarkupWords.h"
#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Memo texts shorter than this cannot hold an index worth reading.
constexpr std::size_t kShortestMemoText = 100;
constexpr std::size_t kFewestIndexWords = 5;
// Files written in one save with their container differ from it by far less:
// only a file changed later counts as newer than the container.
constexpr auto kSameSaveSpread = std::chrono::seconds(2);

}  // namespace

void TFormMainBase0007::releaseViews() {
    if (NodeEditor* editor = nodeEditor()) editor->showNode(nullptr);
    if (MemoHolder* holder = getCurHolder()) hideHolderView(holder);
    aFile->currentNode = nullptr;
}

void TFormMainBase0007::newMemoFile_() {
    releaseViews();
    writerLock.release();
    containerLock.release();
    aFile->clear_();
    MemoHolder* holder = newHolder_(-1);
    holder->setCurrent_(holder->makeNode_());
    aFile->changed = false;
    _changeCurrentHolder_(holder);
    setCaption_();
    followDisk();
}

MemoHolder* TFormMainBase0007::newHolder_(int position) {
    MemoHolder* holder = aFile->createHolder_(position);
    aFile->changed = true;
    holder->loaded = true;
    holder->changed = true;
    return holder;
}

void TFormMainBase0007::openMemoFile_(std::string_view path) {
    if (lowerText(path) == lowerText(aFile->getMemoFilePath_())) {
        std::string question =
            std::string(path) + utf8ToSjis(
                                    " は既に読み込まれています。再読み込みするなら OK "
                                    "を押してください");
        if (prompter_->ask(Tone::Confirmation, question, ButtonOk | ButtonCancel) != Answer::Ok) {
            return;
        }
    }
    if (!fileExists(path)) return;
    if (lowerText(extensionOf(path)) != ".mxa") {
        std::string question = utf8ToSjis("拡張子が .mxa でないが、読み込んでいいのか？");
        if (prompter_->ask(Tone::Confirmation, question, ButtonYes | ButtonNo) == Answer::No) {
            return;
        }
    }
    releaseViews();
    aFile->clear_();
    openTrouble_.clear();
    messageDoing_("Now Loading " + std::string(path));
    readMemoFile_(path);
    MemoHolder* holder = aFile->currentHolder;
    if (!holder) {
        holder = aFile->holderAt_(0);
        aFile->changed = true;
    }
    aFile->currentNode = nullptr;
    _changeCurrentHolder_(holder);
    if (!openTrouble_.empty())
        messageDoing_("ERROR: " + openTrouble_);
    else if (holder)
        messageDoing_(holder->getName_());
    if (openTrouble_.empty()) rememberRecentFile(path);
}

void TFormMainBase0007::noteOpenTrouble(std::string_view path, std::string_view reason) {
    if (!openTrouble_.empty()) return;
    openTrouble_ = reason.find(path) != std::string_view::npos
                       ? std::string(reason)
                       : std::string(path) + ": " + std::string(reason);
}

bool TFormMainBase0007::loadMemoText(std::string_view path, std::string& text, FileStamp& stamp) {
    const std::string lockNote = flagFileLock ? " FlagFileLock=true" : " FlagFileLock=false";
    IoResult result;
    // Other writers wait for this window (or this batch run) until it closes.
    if (flagFileLock || holdWriterLock) result = writerLock.acquire(path);
    if (result && flagFileLock) {
        fileLock.close();
        result = fileLock.open(path);
        if (result) result = fileLock.read(text, &stamp);
    } else if (result) {
        result = readFile(path, text, &stamp);
    }
    if (!result) {
        std::string message = "Could Not Open " + std::string(path) + lockNote;
        addLog_(message);
        addLog_(result.message);
        noteOpenTrouble(path, result.message);
        prompter_->message(message + "\r\n" + result.message);
        return false;
    }
    addLog_("open " + std::string(path) + lockNote);
    return true;
}

void TFormMainBase0007::replaceByFreshMemoFile(std::string_view path, std::string_view why,
                                               std::string_view text) {
    std::string message = std::string(why) + std::string(path) + "\r\n" + std::string(text);
    messageDoing_(message);
    addLog_(message);
    newMemoFile_();
    aFile->setFilename(path);
    aFile->changed = true;
    setCaption_();
}

void TFormMainBase0007::logParseFailure(const std::vector<std::string>& errors,
                                        const std::vector<std::string>& words) {
    addLog_("**** BAT MXA File ****");
    logList_(errors);
    addLog_("******** MXA File ****");
    logList_(words);
    addLog_("**********************");
}

void TFormMainBase0007::ensureOneHolder() {
    if (aFile->countOfHolders_() > 0) return;
    MemoHolder* holder = aFile->createHolder_(-1);
    holder->setCurrent_(holder->makeNode_());
    holder->loaded = true;
}

void TFormMainBase0007::readMemoFile_(std::string_view path) {
    // A set of files a killed run was replacing is completed before reading.
    tidyFolderOf(path);
    std::string text;
    FileStamp stamp;
    if (!loadMemoText(path, text, stamp)) {
        newMemoFile_();
        setCaption_();
        return;
    }
    if (text.size() < kShortestMemoText) {
        replaceByFreshMemoFile(path, "Too Short Size: ", text);
        return;
    }
    WordList words;
    splitWords(text, words, false);
    if (words.size() < kFewestIndexWords) {
        replaceByFreshMemoFile(path, "Too Short Word: ", text);
        return;
    }
    std::vector<std::string> errors;
    int found = readIndexText_(*aFile, text, errors);
    if (!errors.empty()) {
        logParseFailure(errors, words.toLines());
        noteOpenTrouble(path, "markup error, line " + errors.front());
        prompter_->error("Markup error in " + std::string(path) + "\r\n" + errors.front() +
                         "\r\nEvery error is in the log; what could be read is shown.");
    }
    if (found < 0) {
        std::string message = "BAT File: not found <File> " + std::string(path);
        messageDoing_(message);
        addLog_(message);
        noteOpenTrouble(path, message);
        showFormLog();
    }
    ensureOneHolder();
    aFile->setFilename(path);
    aFile->indexOnDisk = {std::string(path), stamp};
    aFile->changed = false;
    setCaption_();
    followDisk();
}

// The parts are unpacked all or nothing, each existing file asked about
// first; a refusal, a full disk or Break leaves every old file as it was. A
// file newer than the container is kept unless the user says otherwise: it
// holds edits the container does not. The memo file opened remembers the
// container, so every save writes it too.
void TFormMainBase0007::decompressMemoFile_(std::string_view path) {
    if (!fileExists(path)) return;
    openTrouble_.clear();
    if (IoResult locked = containerLock.acquire(path); !locked) {
        messageDoing_("ERROR: " + locked.message);
        addLog_(locked.message);
        prompter_->error("Could Not Open " + std::string(path) + "\r\n" + locked.message);
        return;
    }
    messageDoing_("Decompress " + std::string(path));
    FileStamp stamp;
    const bool stamped = stampFile(path, stamp);
    const auto containerTime = fileModified(path);
    auto mayReplace = [this, &path, &containerTime](const std::string& target) {
        messageDoing_("Save " + target);
        const auto targetTime = fileModified(target);
        if (containerTime && targetTime && *targetTime > *containerTime + kSameSaveSpread) {
            const std::string question = "Keep the newer file? " + target + "\r\n" +
                                         "It is newer than the container " + std::string(path) +
                                         ".\r\nYes: keep it.  No: overwrite it with the older "
                                         "copy from the container.";
            return prompter_->ask(Tone::Confirmation, question,
                                  ButtonYes | ButtonNo | ButtonCancel) == Answer::No;
        }
        return prompter_->ask(Tone::Confirmation, "Overwrite OK? " + target,
                              ButtonOk | ButtonCancel) == Answer::Ok;
    };
    std::string indexTarget, error;
    if (unpackContainer_(path, mayReplace, &indexTarget, &error, agent.get()) < 0) {
        if (!flagFileLock && !holdWriterLock) containerLock.release();
        if (agent->isBreak_()) {
            addLog_("Break: Decompress " + std::string(path));
            return;
        }
        messageDoing_("ERROR: " + error);
        addLog_(error);
        noteOpenTrouble(path, error);
        prompter_->error("Could Not Open " + std::string(path) + "\r\n" + error);
        return;
    }
    if (!indexTarget.empty()) openMemoFile_(indexTarget);
    if (!indexTarget.empty() && lowerText(aFile->getMemoFilePath_()) == lowerText(indexTarget)) {
        aFile->containerPath = path;
        if (stamped) aFile->containerOnDisk = {std::string(path), stamp};
    }
    if (!flagFileLock && !holdWriterLock) containerLock.release();
}

MemoHolder* TFormMainBase0007::openHolder_(std::string_view path) {
    // The start-up open runs in its busy state already.
    if (openingArgument_) return openAndShowHolder(path);
    if (nowDoing()) return nullptr;
    CommandScope opening(*this, "Open Holder " + std::string(path));
    openTrouble_.clear();
    MemoHolder* holder = openAndShowHolder(path);
    if (!openTrouble_.empty()) opening.endWith("ERROR: " + openTrouble_);
    return holder;
}

MemoHolder* TFormMainBase0007::openAndShowHolder(std::string_view path) {
    MemoHolder* holder = openHolderFile_(path);
    if (holder) {
        aFile->changed = true;
        changeHolder_(holder);
    }
    return holder;
}

MemoHolder* TFormMainBase0007::appendHolderNamedAfter(std::string_view path) {
    MemoHolder* holder = aFile->createHolder_(-1);
    holder->putName_as_(baseNameOf(path));
    return holder;
}

MemoHolder* TFormMainBase0007::openHolderFile_(std::string_view path) {
    std::string name = upperText(baseNameOf(path));
    MemoHolder* found = aFile->holderByName_(name);
    if (!found) {
        MemoHolder* holder = appendHolderNamedAfter(path);
        holder->loaded = true;
        attachHolderFile_(holder, path);
        return holder;
    }
    std::string question = std::string(path) + "\r\n" + "Still opened. \"" + name + "\"" + "\r\n" +
                           "Could I Reload ?(=Yes) / Open OtherName(=No) or (CANCEL) ";
    switch (prompter_->ask(Tone::Confirmation, question, ButtonYes | ButtonNo | ButtonCancel)) {
        case Answer::Yes:
            if (found == getCurHolder()) releaseViews();
            found->clear_();
            attachHolderFile_(found, path);
            return found;
        case Answer::No: {
            MemoHolder* holder = appendHolderNamedAfter(path);
            holder->loaded = false;
            attachHolderFile_(holder, path);
            holder->changed = true;
            return holder;
        }
        default:
            return nullptr;
    }
}

void TFormMainBase0007::attachHolderFile_(MemoHolder* holder, std::string_view path) {
    readHolderFile_(holder, path);
    bool elsewhere = lowerText(std::string(folderOf(path))) != lowerText(aFile->getMemoFileDir_());
    if (elsewhere) {
        holder->putField_("FlagAbsolutePath", "\"true\"");
        holder->putField_("FlagReadOnly", "\"true\"");
    } else {
        holder->putField_("FlagAbsolutePath", "\"false\"");
    }
    holder->putField_("Filename", wrapQuotes(path));
    holder->loaded = true;
    aFile->changed = true;
    followDisk();
}

// Break is asked every 50 records, so a huge holder can be stopped and the
// window repaints; why a file could not be read goes to the log and the
// status bar.
int TFormMainBase0007::readHolderFile_(MemoHolder* holder, std::string_view path) {
    std::string why;
    const int read = zel::readHolderFile_(*holder, path, &why, agent.get());
    if (read != 0) {
        addLog_(why);
        messageDoing_("SYSTEM ERROR: " + why);
        noteOpenTrouble(path, why);
    }
    return read;
}

void TFormMainBase0007::loadHolder_(MemoHolder* holder) {
    std::string path = holderFilePath_(*holder);
    if (fileExists(path)) {
        // The empty holder shown instead must not replace a file that exists
        // but could not be read (damaged, refused, or the load was stopped).
        // The box gives this file's reason; the open under way keeps its first.
        const std::string earlier = std::exchange(openTrouble_, {});
        if (readHolderFile_(holder, path) != 0) {
            holder->setReadOnly_(true);
            const std::string kept =
                "The holder \"" + holder->getName_() +
                "\" is read-only: its file could not be read and stays as it is";
            addLog_(kept);
            prompter_->error(openTrouble_ + "\r\n" + kept);
        }
        if (!earlier.empty()) openTrouble_ = earlier;
    } else {
        addLog_("Not Found MemoHolder: " + path);
        showFormLog();
    }
    if (holder->count_() == 0) holder->makeNode_();
    holder->loaded = true;
    followDisk();
}

void TFormMainBase0007::systemError(std::string_view text) {
    prompter_->error(text);
    addLog_(text);
    messageDoing_(text);
}

void TFormMainBase0007::loadHolderForShowing(MemoHolder& holder) {
    loadHolder_(&holder);
    if (holder.count_() == 0) {
        holder.makeNode_();
        addLog_("Warrning: MemoHolder=\"" + holder.getName_() +
                "\" have no MemoNode. _changeCurrentHolder_ ");
    }
}

void TFormMainBase0007::_changeCurrentHolder_(MemoHolder* holder) {
    if (!holder) {
        addLog_("aH=nil in TFormMainBase0007._changeCurrentHolder_ ");
        return;
    }
    aFile->currentHolder = holder;
    if (!holder->loaded) {
        if (holder->count_() > 0) {
            systemError("SYSTEM ERROR: Still exists Nodes before loading. Holder=\"" +
                        holder->getName_() + "\"" +
                        " aH.aNodes.countOfNodes = " + std::to_string(holder->count_()));
            holder->loaded = true;
            return;
        }
        const std::string loading = "Now Loading a Holder named as \"" + holder->getName_() + "\"";
        // A command under way keeps its busy state; the loading only says so.
        if (isDoing()) {
            messageDoing_(loading);
            loadHolderForShowing(*holder);
        } else {
            CommandScope scope(*this, loading);
            loadHolderForShowing(*holder);
        }
    }
    showHolderView(holder);
    MemoNode* node = holder->getCurrent_();
    if (!node && holder->count_() == 0) {
        // Only a holder whose file could not be read has none: the open
        // under way says why.
        systemError("SYSTEM ERROR: aH.countOfNodes = 0 in _changeCurrentHolder_ " +
                    holder->getName_() + (openTrouble_.empty() ? "" : "\r\n" + openTrouble_));
        node = holder->makeNode_();
    } else if (!node) {
        node = holder->first_();
    }
    setCurMemoNode_(node);
    showHolderCount();
    repaint();
}

}  // namespace zel
