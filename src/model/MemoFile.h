#pragma once
// The memo file: the document the user opens and saves. A record that owns the
// ordered list of holders (the tabs), remembers the current holder and knows
// its file. Stored as an index (.mxa) beside the holder files, or as one
// compressed container (.maz) that carries the holders too.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/HolderFileNames.h"
#include "model/MemoBasic.h"
#include "object/TObjectParent.h"
#include "platform/FileStamp.h"

namespace zel {

class MemoHolder;

// (name, holder) pairs in tab order; the holders stay owned by the memo file.
using HolderList = std::vector<std::pair<std::string, MemoHolder*>>;

class MemoFile : public MemoBasic {
  public:
    MemoFile();
    ~MemoFile() override;

    const char* className() const override { return "MemoFile"; }
    // Empties the record part and destroys every holder; the name stays.
    int clear_() override;
    std::string getNameChild_(const TObjectNamed* child) const override;
    std::string putNameChild_as_(TObjectNamed* child, std::string_view wantedName) override;
    // Without owner a memo file keeps its own name.
    std::string getName_() const override;
    std::string putName_as_(std::string_view wantedName) override;
    // The `File` element of the index.
    int _writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent) override;
    // Reads a `File` element: fields, memo text and the (unloaded) holders.
    void readTag_(const TTAGNode& element) override;

    // A new empty holder owned by this memo file, not yet in the list.
    virtual std::unique_ptr<MemoHolder> newHolderObject_();
    int countOfHolders_() const;
    int indexOfHolder_(const MemoHolder* holder) const;
    MemoHolder* holderAt_(int index) const;
    MemoHolder* holderByName_(std::string_view name) const;
    HolderList& listHolders_(HolderList& list) const;
    std::string uniqueHolderName_(std::string_view wanted) const;
    // A new holder named after "new", appended when `index` is negative or not
    // below the count, else inserted there. Neither loaded nor current.
    MemoHolder* createHolder_(int index);
    // Takes `holder` out of the list and hands it over; there is no current
    // holder afterwards. `formerIndex` receives its index or -1.
    std::unique_ptr<MemoHolder> removeHolder_(MemoHolder* holder, int* formerIndex = nullptr);
    // Yield the name actually given.
    std::string addHolder_(std::unique_ptr<MemoHolder> holder, std::string_view wanted);
    std::string insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                              std::string_view wanted);
    // Appends the lines of the index file.
    void writeMemoFile_(std::vector<std::string>& lines);
    void moveHolderLeft_(int index);
    void moveHolderRight_(int index);
    void moveHolderFirst_(int index);
    void moveHolderLast_(int index);
    void moveHolder_(int from, int to);

    // The plain name of the holder's file in the memo file's folder, distinct
    // from every other holder's (HolderFileNames.h).
    std::string holderFileName_(const MemoHolder& holder) const;

    // The unquoted Filename, else the safe own name + ".mxa".
    std::string getMemoFilePath_() const;
    // The folder of the unquoted Filename, ending in "/"; empty when none.
    std::string getMemoFileDir_() const;
    // Filename becomes the absolute form of `path`, the name its base name. 0.
    int setFilename(std::string_view path);
    // By extension: the index (.mxa) or the container (.maz). The size
    // written, -1 for another extension or a failed write.
    long long saveMemoFile_(std::string_view path);
    // The container: the size of the message before compression, or -1.
    long long writeContainer_(std::string_view path);
    // The index markup as saveMemoFile_ writes it.
    std::string indexText_();
    // The container's compressed bytes; the size of the message before
    // compression, or -1 with lastError() set.
    long long containerBytes_(std::string& bytes);

    std::string getDisplayMode_() const;
    void setDisplayMode_(std::string_view text) { displayMode_ = text; }

    // A holder that is not loaded is about to be written as it stands into a
    // container. The window asks the user; the model tells the log.
    virtual void announceNotLoaded_(const std::string& holderPath);
    // Why the last save failed (empty after a success).
    const std::string& lastError() const { return lastError_; }

    std::unique_ptr<TObjectParent> holders;
    MemoHolder* currentHolder = nullptr;
    bool changed = false;
    // The index and the container as last read or written (HolderFile's
    // onDisk for holders): saves over them check no other program wrote them.
    DiskVersion indexOnDisk;
    DiskVersion containerOnDisk;
    // The container this memo file was unpacked from, which every save
    // writes too, so the file the user opened keeps their edits. Empty when
    // it was not opened from a container.
    std::string containerPath;

  private:
    // The container message: the index part and one Base64 part per holder.
    void buildContainerMessage(std::string& message);
    void appendHolderPart(std::string& message, MemoHolder& holder);
    void readHolderElement(const TTAGNode& element);
    void selectCurrentHolderAfterReading();

    std::string ownName_ = "noname";
    mutable HolderFileNames fileNames_;
    std::string displayMode_;
    std::string lastError_;
};

// Reads index markup into `file` (cleared by the caller): parse errors are
// appended to `errors` and reading goes on with what was parsed. 0 when a
// `File` element was read, -1 when there is none.
int readIndexText_(MemoFile& file, std::string_view text, std::vector<std::string>& errors);

// Opens the index at `path` without asking anything: clears `file`, reads it
// (parse errors to `errors`), adds a holder when none was read, names the
// memo file after `path` and clears `changed`. Holders stay not loaded.
// 0, or -1 with `error` set when the file cannot be read or has no `File`.
int openIndex_(MemoFile& file, std::string_view path, std::vector<std::string>& errors,
               std::string* error);

}  // namespace zel
