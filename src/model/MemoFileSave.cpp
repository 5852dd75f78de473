#include "model/MemoFileSave.h"

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/SafeFileSet.h"
#include "platform/SafeFileWriter.h"
#include "platform/WriterLock.h"
#include "text/DateTime.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// A holder's save count and time as they were, to put back when the set
// is not written.
struct CountedSave {
    MemoHolder* holder;
    std::int32_t count;
    DateTime time;
};

struct PlannedFile {
    std::string path;
    long long size;
    DiskVersion* version;  // what the file is checked against and becomes
};

class SetPlan {
  public:
    explicit SetPlan(MemoFile& file) : file_(file) {}
    ~SetPlan() {
        if (!committed_) putCountsBack();
    }

    bool addHolder(MemoHolder& holder, const std::string& path) {
        counted_.push_back({&holder, holder.countSave, holder.timeSaved});
        ++holder.countSave;
        holder.timeSaved = currentDateTime();
        const std::string text = holderFileText_(holder);
        const auto size = static_cast<long long>(text.size());
        // Plain text goes out as it stands; only the compressed form is made anew.
        if (lowerText(extensionOf(path)) == ".mxh") {
            add(path, text, holderLinkPolicy_(holder, path), holder.onDisk, size);
            return true;
        }
        std::string bytes;
        if (!holderTextBytes_(path, text, bytes, &error_)) return false;
        add(path, bytes, holderLinkPolicy_(holder, path), holder.onDisk, size);
        return true;
    }

    bool addMemoFile(const std::string& path) {
        const std::string extension = lowerText(extensionOf(path));
        if (extension == ".maz") return addContainer(path);
        if (extension != ".mxa") {
            error_ = "Not a memo file extension: " + path;
            return false;
        }
        const std::string text = file_.indexText_();
        add(path, text, LinkPolicy::Follow, file_.indexOnDisk, static_cast<long long>(text.size()));
        return true;
    }

    bool addContainer(const std::string& path) {
        std::string bytes;
        const long long size = file_.containerBytes_(bytes);
        if (size < 0) {
            error_ = file_.lastError();
            return false;
        }
        add(path, bytes, LinkPolicy::Follow, file_.containerOnDisk, size);
        return true;
    }

    bool commit(MemoFileSaveResult& result) {
        if (IoResult done = set_.commit(); !done) {
            error_ = done.message;
            return false;
        }
        committed_ = true;
        const auto& stamps = set_.written();
        for (std::size_t i = 0; i < planned_.size(); ++i) {
            *planned_[i].version = {planned_[i].path, stamps[i]};
            result.written.emplace_back(planned_[i].path, planned_[i].size);
        }
        return true;
    }

    const std::string& error() const { return error_; }

  private:
    void add(const std::string& path, std::string_view bytes, LinkPolicy links,
             DiskVersion& version, long long size) {
        SafeFileWriter& writer = set_.add(path, links);
        writer.expectUnchanged(version);
        writer.append(bytes);
        planned_.push_back({path, size, &version});
    }

    void putCountsBack() {
        for (const CountedSave& saved : counted_) {
            saved.holder->countSave = saved.count;
            saved.holder->timeSaved = saved.time;
        }
    }

    MemoFile& file_;
    SafeFileSet set_;
    std::vector<CountedSave> counted_;
    std::vector<PlannedFile> planned_;
    std::string error_;
    bool committed_ = false;
};

}  // namespace

MemoFileSaveResult saveMemoFileSet_(MemoFile& file, const MemoFileSaveRequest& request) {
    MemoFileSaveResult result;
    SetPlan plan(file);
    bool planned = true;
    for (const auto& [holder, path] : request.holders)
        planned = planned && plan.addHolder(*holder, path);
    if (planned && request.container && !file.containerPath.empty() &&
        lowerText(file.containerPath) != lowerText(request.indexPath))
        planned = plan.addContainer(file.containerPath);
    if (planned && !request.indexPath.empty()) planned = plan.addMemoFile(request.indexPath);
    if (!planned || !plan.commit(result)) {
        result.error = plan.error();
        result.conflict = isWriterConflict(result.error);
        result.written.clear();
        return result;
    }
    for (const auto& [holder, path] : request.holders) holder->changed = false;
    if (!request.indexPath.empty()) file.changed = false;
    result.ok = true;
    return result;
}

}  // namespace zel
