#include "app/window/DiskFollower.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>

#include "app/window/TFormMainBase0007.h"
#include "merge/ConflictCopies.h"
#include "merge/IndexMerge.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"
#include "views/MemoHolderUI.h"

namespace zel {

namespace {

QAbstractScrollArea* scrollAreaOf(QWidget* control) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) return area;
    if (auto* pages = qobject_cast<QStackedWidget*>(control))
        return qobject_cast<QAbstractScrollArea*>(pages->currentWidget());
    return nullptr;
}

// The folded name of a holder's file, as the index merge matches holders.
std::string holderKey(const MemoFile& file, const MemoHolder& holder) {
    return lowerText(baseNameOf(file.holderFileName_(holder)));
}

}  // namespace

// A holder's nodes are about to change wholesale under the window: its
// editor is written back and let go, its node windows close, and its list
// control sits the change out (it would redraw each node taken out and put
// back, and its own current line would stand for the holder's). Afterwards
// the control lists the result, and a shown holder is shown again at the
// same place, on the same node when it is kept, else on the node now at its
// place in the list.
class DiskFollower::HolderOnHold {
  public:
    HolderOnHold(TFormMainBase0007& window, MemoHolder& holder)
        : window_(window), holder_(holder), shown_(dynamic_cast<MemoHolderUI*>(&holder)) {
        current_ = window.getCurHolder() == &holder;
        if (current_) window.UI2Model();
        MemoNode* node = holder.getCurrent_();
        place_ = node ? std::max(holder.indexOf_(node), 0) : 0;
        if (shown_) {
            shown_->closeNodeWindows_();
            if (QAbstractScrollArea* area = scrollAreaOf(shown_->nodesControl_()))
                scroll_ = area->verticalScrollBar()->value();
        }
        if (current_) window.releaseViews();
        if (shown_) std::swap(shown_->attached, attached_);
        holder.setCurrent_(node);
    }
    ~HolderOnHold() {
        if (holder_.count_() == 0) holder_.makeNode_();
        if (!holder_.getCurrent_())
            holder_.setCurrent_(holder_.at_(std::min(place_, holder_.count_() - 1)));
        if (shown_) {
            std::swap(shown_->attached, attached_);
            if (shown_->attached) shown_->refreshControls_();
        }
        if (current_) window_._changeCurrentHolder_(&holder_);
        if (shown_ && scroll_ >= 0)
            if (QAbstractScrollArea* area = scrollAreaOf(shown_->nodesControl_()))
                area->verticalScrollBar()->setValue(scroll_);
    }
    HolderOnHold(const HolderOnHold&) = delete;
    HolderOnHold& operator=(const HolderOnHold&) = delete;

  private:
    TFormMainBase0007& window_;
    MemoHolder& holder_;
    MemoHolderUI* shown_;
    bool current_ = false;
    bool attached_ = false;
    int place_ = 0;
    int scroll_ = -1;
};

DiskFollower::DiskFollower(TFormMainBase0007& window)
    : window_(window), watch_([this] { takeChanges(); }) {}

std::vector<MemoHolder*> DiskFollower::loadedHolders() const {
    std::vector<MemoHolder*> holders;
    const MemoFile& file = *window_.aFile;
    for (int i = 0; i < file.countOfHolders_(); ++i)
        if (MemoHolder* holder = file.holderAt_(i); holder->loaded) holders.push_back(holder);
    return holders;
}

std::vector<std::string> DiskFollower::knownFiles() const {
    std::vector<std::string> paths;
    const MemoFile& file = *window_.aFile;
    if (const std::string index = file.getMemoFilePath_(); file.indexOnDisk.knows(index))
        paths.push_back(index);
    for (MemoHolder* holder : loadedHolders())
        if (std::string path = holderFilePath_(*holder); holder->onDisk.knows(path))
            paths.push_back(std::move(path));
    return paths;
}

void DiskFollower::watchKnownFiles() {
    const std::vector<std::string> paths = knownFiles();
    bases_.keepOnly(paths);
    watch_.watch(paths);
    // Once the window has shown what it took in.
    QTimer::singleShot(0, &watch_, [this] { bases_.compressPending(); });
}

void DiskFollower::follow() {
    const MemoFile& file = *window_.aFile;
    const std::string index = file.getMemoFilePath_();
    if (file.indexOnDisk.knows(index)) bases_.remember(index, file.indexOnDisk.stamp);
    for (MemoHolder* holder : loadedHolders())
        if (const std::string path = holderFilePath_(*holder); holder->onDisk.knows(path))
            bases_.remember(path, holder->onDisk.stamp);
    watchKnownFiles();
    watch_.poke();
}

bool DiskFollower::mustWait() const {
    return taking_ || window_.isDoing() || window_.terminating_ ||
           QApplication::activeModalWidget() != nullptr;
}

void DiskFollower::takeChanges() {
    if (mustWait()) {
        watch_.poke();
        return;
    }
    taking_ = true;
    takeIndexChange();
    for (MemoHolder* holder : loadedHolders()) takeHolderChange(*holder);
    offerConflictCopies();
    watchKnownFiles();
    taking_ = false;
}

void DiskFollower::logConflicts(const MergeReport& report) {
    for (const std::string& conflict : report.conflicts) window_.addLog_("  conflict: " + conflict);
}

bool DiskFollower::readChange(const std::string& path, const DiskVersion& known, std::string& now,
                              FileStamp& stamp) {
    if (!known.knows(path)) return false;
    const DiskState state = diskStateOf(path, known.stamp);
    if (state == DiskState::AsKnown) bases_.remember(path, known.stamp);
    return state == DiskState::Changed && readFile(path, now, &stamp);
}

void DiskFollower::takeIndexChange() {
    MemoFile& file = *window_.aFile;
    const std::string path = file.getMemoFilePath_();
    std::string now;
    FileStamp stamp;
    if (!readChange(path, file.indexOnDisk, now, stamp)) return;
    MemoFile theirs;
    std::vector<std::string> errors;
    if (readIndexText_(theirs, now, errors) != 0 || !errors.empty()) {
        // Perhaps read half written: the rest of the write brings another look.
        window_.addLog_("Could not read " + path + " as changed on disk" +
                        (errors.empty() ? "" : ": " + errors.front()));
        return;
    }
    MemoFile base;
    std::vector<std::string> baseErrors;
    const std::string baseBytes = bases_.bytes(path, file.indexOnDisk.stamp);
    const bool baseKnown = !baseBytes.empty() && readIndexText_(base, baseBytes, baseErrors) == 0;
    keepHoldersWithChanges(theirs);

    MemoHolder* current = window_.getCurHolder();
    window_.UI2Model();
    window_.releaseViews();
    const bool changed = file.changed;
    const MergeReport report = mergeIntoMemoFile(file, baseKnown ? &base : nullptr, theirs);
    file.changed = changed;
    window_.ensureOneHolder();
    if (file.indexOfHolder_(current) < 0) current = nullptr;
    window_._changeCurrentHolder_(current ? current : file.holderAt_(0));
    window_.refreshHolderList();
    window_.setCaption_();
    file.indexOnDisk = {path, stamp};
    bases_.keep(path, stamp, now);

    window_.addLog_("Merged " + path + ", changed on disk by another program: " +
                    std::to_string(report.conflicts.size()) + " conflict(s) kept");
    logConflicts(report);
    window_.messageDoing_("Merged the memo file with " + path + " changed on disk");
}

// A holder the other program deleted from the index while it has unsaved
// changes here stays: the index merge would drop it as unchanged, since the
// index lists holders and not their nodes.
void DiskFollower::keepHoldersWithChanges(MemoFile& theirs) const {
    const MemoFile& file = *window_.aFile;
    std::set<std::string> listed;
    for (int i = 0; i < theirs.countOfHolders_(); ++i)
        listed.insert(holderKey(theirs, *theirs.holderAt_(i)));
    for (MemoHolder* holder : loadedHolders()) {
        if (!holder->changed || listed.contains(holderKey(file, *holder))) continue;
        MemoHolder* kept = theirs.createHolder_(-1);
        kept->putName_as_(holder->getName_());
        kept->fields = holder->fields;
        window_.addLog_("holder " + holder->getName_() +
                        ": deleted on disk, kept here: it has unsaved changes");
    }
}

void DiskFollower::takeHolderChange(MemoHolder& holder) {
    const std::string path = holderFilePath_(holder);
    std::string now;
    FileStamp stamp;
    if (!readChange(path, holder.onDisk, now, stamp)) return;
    MergeOptions options;
    options.theirsLabel = fileNameOf(path);
    HolderUpdate update;
    {
        HolderOnHold hold(window_, holder);
        // Without unsaved changes the file is taken as it is: no base needed.
        const std::string base =
            holder.changed ? bases_.bytes(path, holder.onDisk.stamp) : std::string();
        update = updateHolderFromDisk(base, holder, now, options);
        if (update.kind == HolderUpdateKind::Reloaded) holder.changed = false;
    }
    if (update.kind != HolderUpdateKind::Failed) {
        holder.onDisk = {path, stamp};
        bases_.keep(path, stamp, now);
    }
    tellHolderUpdate(holder, path, update);
}

void DiskFollower::tellHolderUpdate(MemoHolder& holder, const std::string& path,
                                    const HolderUpdate& update) {
    const std::string name = "\"" + holder.getName_() + "\"";
    switch (update.kind) {
        case HolderUpdateKind::Unchanged:
            return;
        case HolderUpdateKind::Failed:
            // Perhaps read half written: the rest of the write brings another look.
            window_.addLog_("Could not read " + path + " as changed on disk: " + update.error);
            return;
        case HolderUpdateKind::Reloaded:
            window_.addLog_("Reloaded the holder " + name + ": " + path +
                            " was changed on disk by another program");
            window_.messageDoing_("Reloaded " + name + ", changed on disk");
            return;
        case HolderUpdateKind::Merged: {
            const std::string conflicts =
                std::to_string(update.report.conflicts.size()) + " conflict(s) kept";
            window_.addLog_("Merged the holder " + name + " with " + path +
                            ", changed on disk by another program: " + conflicts);
            logConflicts(update.report);
            window_.messageDoing_("Merged " + name + " with its file changed on disk: " +
                                  conflicts + (update.report.clean() ? "" : ", see the log"));
            return;
        }
    }
}

void DiskFollower::offerConflictCopies() {
    for (MemoHolder* holder : loadedHolders()) {
        if (holder->isReadOnlyEffective_()) continue;
        for (const std::string& copy : findConflictCopies(holderFilePath_(*holder))) {
            if (passedCopies_.contains(copy)) continue;
            const std::string question =
                "A sync engine left a conflict copy of the holder \"" + holder->getName_() +
                "\":\r\n" + copy +
                "\r\nMerge it into the holder? The copy then moves into the folder \"" +
                std::string(kConflictsFolder) + "\" beside it.";
            if (window_.prompter().ask(Tone::Confirmation, question, ButtonYes | ButtonNo) !=
                Answer::Yes) {
                passedCopies_.insert(copy);
                continue;
            }
            mergeConflictCopy(*holder, copy);
        }
    }
}

void DiskFollower::mergeConflictCopy(MemoHolder& holder, const std::string& copy) {
    std::string bytes;
    if (IoResult read = readFile(copy, bytes); !read) {
        window_.addLog_(read.message);
        passedCopies_.insert(copy);
        return;
    }
    MergeOptions options;
    options.theirsLabel = fileNameOf(copy);
    HolderUpdate update;
    {
        HolderOnHold hold(window_, holder);
        update = mergeCopyIntoHolder(holder, bytes, options);
    }
    if (update.kind == HolderUpdateKind::Failed) {
        window_.addLog_("Could not merge " + copy + ": " + update.error);
        passedCopies_.insert(copy);
        return;
    }
    std::string movedTo;
    const IoResult moved = moveToConflictsFolder(copy, &movedTo);
    if (!moved) passedCopies_.insert(copy);
    const std::string conflicts =
        std::to_string(update.report.conflicts.size()) + " conflict(s) kept";
    window_.addLog_("Merged " + copy + " into the holder \"" + holder.getName_() +
                    "\": " + conflicts + (moved ? "; moved to " + movedTo : "; " + moved.message));
    logConflicts(update.report);
    window_.messageDoing_("Merged the conflict copy " + fileNameOf(copy) + ": " + conflicts);
}

}  // namespace zel
