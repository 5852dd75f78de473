// Writing the memo file and its holders: one set of files at a time, under
// the writers' lock, never over another program's newer file.

#include "app/window/TFormMainBase0007.h"
#include "model/MemoHolder.h"
#include "platform/FileStamp.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

bool isHolderFilePath(std::string_view path) {
    const std::string extension = lowerText(extensionOf(path));
    return extension == ".mxh" || extension == ".mhz";
}

// A file names the memo file once it has been given one (opened or saved).
bool hasOwnFile(const MemoFile& file) {
    return !stripQuotes(file.getField_("Filename")).empty();
}

// "<file>: ... changed on disk since it was read" names the file first.
std::string failedPath(const std::string& error, const MemoFileSaveRequest& request) {
    for (const auto& [holder, path] : request.holders)
        if (error.find(path) != std::string::npos) return path;
    return request.indexPath;
}

}  // namespace

IoResult TFormMainBase0007::lockForSaving(WriterLock& lock) {
    if (!hasOwnFile(*aFile)) return IoResult::success();
    const std::string path = aFile->getMemoFilePath_();
    return lock.acquire(path, writerLockWait(), [this, &path](const std::string& holder) {
        messageDoing_("Waiting for " + holder + " to finish writing " + path);
    });
}

MemoFileSaveResult TFormMainBase0007::saveTogether_(bool index, std::vector<MemoHolder*> holders,
                                                    bool askOnConflict) {
    MemoFileSaveRequest request;
    if (index) {
        request.indexPath = aFile->getMemoFilePath_();
        if (lowerText(extensionOf(request.indexPath)) == ".maz") {
            for (int i = 0; i < aFile->countOfHolders_(); ++i)
                if (!aFile->holderAt_(i)->loaded) loadHolder_(aFile->holderAt_(i));
        }
    }
    for (MemoHolder* holder : holders) {
        const std::string path = holderFilePath_(*holder);
        if (!isHolderFilePath(path)) {
            addLog_("ERROR: could not save the MemoHolder " + path +
                    " Not a holder file extension: " + path);
            continue;
        }
        if (!holder->loaded) loadHolder_(holder);
        request.holders.emplace_back(holder, path);
    }
    request.container = !aFile->containerPath.empty();
    MemoFileSaveResult result;
    WriterLock lock;
    if (IoResult locked = lockForSaving(lock); !locked) {
        result.error = locked.message;
        addLog_("ERROR: " + result.error);
        return result;
    }
    // The held handle keeps the index from being replaced, by this program too.
    const bool reopenIndex = fileLock.isOpen() && fileLock.path() == request.indexPath;
    if (reopenIndex) fileLock.close();
    result = saveMemoFileSet_(*aFile, request);
    if (reopenIndex) {
        if (IoResult reopened = fileLock.open(request.indexPath); !reopened)
            addLog_("ERROR: " + reopened.message);
    }
    if (result.ok) {
        followDisk();
        return result;
    }
    const std::string path = failedPath(result.error, request);
    addLog_("ERROR: could not save " + path + " " + result.error);
    if (askOnConflict && result.conflict &&
        result.error.find(kChangedOnDisk) != std::string::npos) {
        MemoHolder* holder = nullptr;
        for (const auto& [each, where] : request.holders)
            if (where == path) holder = each;
        offerCopyAfterConflict(path, holder);
    }
    result.error = path + ": " + result.error;
    return result;
}

// The other program's file stays; the user's version can go beside it.
void TFormMainBase0007::offerCopyAfterConflict(const std::string& path, MemoHolder* holder) {
    const std::string question = path + "\r\n" +
                                 "was changed on disk since it was read: another program wrote "
                                 "it.\r\nYour changes are kept here and nothing was written.\r\n" +
                                 "Save a copy of them under another name?";
    if (prompter_->ask(Tone::Warning, question, ButtonYes | ButtonNo) != Answer::Yes) return;
    const std::string extension(extensionOf(path));
    const std::string proposed =
        path.substr(0, path.size() - extension.size()) + "-mine" + extension;
    const std::string target = prompter_->saveFileName("ALL files (*.*)|*.*", proposed);
    if (target.empty()) return;
    std::string bytes, error;
    bool made = true;
    if (holder)
        made = holderFileBytes_(*holder, target, bytes, &error);
    else
        bytes = aFile->indexText_();
    IoResult written = made ? writeFileSafely(target, bytes) : IoResult::failure(error);
    if (written)
        addLog_("Saved a copy: " + target);
    else
        addLog_("ERROR: could not save a copy " + target + " " + written.message);
}

long long TFormMainBase0007::writeMemoFileToItsName_() {
    const MemoFileSaveResult saved = saveTogether_(true, {});
    if (!saved.ok) return kFailed;
    const std::string path = aFile->getMemoFilePath_();
    for (const auto& [file, size] : saved.written)
        if (file == path) return size;
    return 0;
}

bool TFormMainBase0007::saveHolderToItsFile_(MemoHolder& holder) {
    return saveTogether_(false, {&holder}).ok;
}

}  // namespace zel
