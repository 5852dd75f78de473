#include "cli/Document.h"

#include "cli/Tool.h"
#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

bool& leftToProcessEnd() {
    static bool left = false;
    return left;
}

// Reachable to the end, so leak checkers count the documents as kept, not lost.
std::vector<std::unique_ptr<Document>>& documentsLeft() {
    static auto* left = new std::vector<std::unique_ptr<Document>>;
    return *left;
}

}  // namespace

VerbDocument::VerbDocument() : document_(std::make_unique<Document>()) {}

VerbDocument::~VerbDocument() {
    if (!leftToProcessEnd()) return;
    document_->lock.release();
    documentsLeft().push_back(std::move(document_));
}

void leaveDocumentsToProcessEnd() {
    leftToProcessEnd() = true;
}

namespace {

// Collects the model's log lines (markup errors) while a document is read.
class LogCapture {
  public:
    explicit LogCapture(std::vector<std::string>& lines)
        : previous_(setLogSink([&lines](std::string_view line) { lines.emplace_back(line); })) {}
    ~LogCapture() { setLogSink(std::move(previous_)); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

  private:
    LogSink previous_;
};

std::string baseName(const std::string& path) {
    std::string name = path.substr(folderOf(path).size());
    name.resize(name.size() - extensionOf(name).size());
    return name;
}

int openHolderFile(Document& document, std::string& error) {
    MemoHolder* holder = document.file.createHolder_(-1);
    // Like the window, a holder opened on its own is named after its file.
    holder->putName_as_(baseName(document.path));
    std::string why;
    int read = readHolderFile_(*holder, document.path, &why);
    if (read == -2) {
        error = "No <Holder> element in " + document.path;
        return -1;
    }
    if (read != 0) {
        error = "Could not read the holder file " + document.path + ": " + why;
        return -1;
    }
    holder->loaded = true;
    return 0;
}

void loadHoldersFromFiles(Document& document, const HolderFileWanted& wanted) {
    for (int i = 0; i < document.file.countOfHolders_(); ++i) {
        MemoHolder& holder = *document.file.holderAt_(i);
        if (holder.loaded) continue;
        const std::string path = holderFilePath_(holder);
        if (!fileExists(path)) {
            document.problems.push_back("Missing holder file: " + path);
            continue;
        }
        if (wanted && !wanted(path)) continue;
        std::string why;
        if (readHolderFile_(holder, path, &why) == 0)
            holder.loaded = true;
        else
            document.problems.push_back("Could not read the holder file " + path + ": " + why);
    }
}

void noteHoldersWithoutPart(Document& document) {
    for (int i = 0; i < document.file.countOfHolders_(); ++i) {
        const MemoHolder& holder = *document.file.holderAt_(i);
        if (!holder.loaded)
            document.problems.push_back("No readable part for the holder " + holder.getName_());
    }
}

}  // namespace

FileKind kindOfPath(const std::string& path) {
    const std::string extension = lowerText(extensionOf(path));
    if (extension == ".mxa") return FileKind::Index;
    if (extension == ".maz") return FileKind::Container;
    if (extension == ".mxh") return FileKind::Holder;
    if (extension == ".mhz") return FileKind::CompressedHolder;
    return FileKind::Unknown;
}

bool isMemoFileKind(FileKind kind) {
    return kind == FileKind::Index || kind == FileKind::Container;
}

bool isHolderKind(FileKind kind) {
    return kind == FileKind::Holder || kind == FileKind::CompressedHolder;
}

int openDocument(const std::string& path, Document& document, std::string& error, bool writing,
                 const HolderFileWanted& wanted) {
    document.path = path;
    document.kind = kindOfPath(path);
    if (document.kind == FileKind::Unknown) {
        error = "Not a memo or holder file (.mxa, .maz, .mxh, .mhz): " + path;
        return -1;
    }
    if (!fileExists(path)) {
        error = "No such file: " + path;
        return -1;
    }
    if (writing) {
        if (IoResult locked = document.lock.acquire(path); !locked) {
            error = locked.message;
            return -2;
        }
    }
    LogCapture capture(document.problems);
    switch (document.kind) {
        case FileKind::Index: {
            std::vector<std::string> markupErrors;
            const int opened = openIndex_(document.file, path, markupErrors, &error);
            if (!markupErrors.empty()) document.problems.push_back("Markup error in " + path);
            document.problems.insert(document.problems.end(), markupErrors.begin(),
                                     markupErrors.end());
            if (opened != 0) return -1;
            loadHoldersFromFiles(document, wanted);
            return 0;
        }
        case FileKind::Container: {
            if (loadContainer_(document.file, path, &error) != 0) return -1;
            noteHoldersWithoutPart(document);
            return 0;
        }
        default:
            return openHolderFile(document, error);
    }
}

MemoHolder* chooseHolder(const Document& document, const std::string& name) {
    const MemoFile& file = document.file;
    if (name.empty()) return file.currentHolder ? file.currentHolder : file.holderAt_(0);
    if (MemoHolder* holder = file.holderByName_(name)) return holder;
    return static_cast<MemoHolder*>(file.holders->findChild_(name));
}

MemoNode* chooseNode(const MemoHolder& holder, const std::string& name) {
    if (MemoNode* node = holder.byName_(name)) return node;
    return static_cast<MemoNode*>(holder.nodes->findChild_(name));
}

int openNamedNode(const ToolOutput& io, const std::vector<std::string>& words, Document& document,
                  MemoNode*& node) {
    std::string error;
    const std::string path = io.stored(words.front());
    if (openDocument(path, document, error) != 0) return io.fail(error);
    const std::string holderName = words.size() >= 3 ? io.stored(words[1]) : std::string();
    const std::string nodeName = io.stored(words.back());
    const MemoHolder* holder = chooseHolder(document, holderName);
    if (!holder) return io.fail("No holder named " + holderName + " in " + path);
    if (!holder->loaded) return io.fail("The holder " + holder->getName_() + " could not be read");
    node = chooseNode(*holder, nodeName);
    if (!node) return io.fail("No node named " + nodeName + " in the holder " + holder->getName_());
    return 0;
}

std::string holderSource(const Document& document, const MemoHolder& holder) {
    return document.isHolderFile() ? document.path : holderFilePath_(holder);
}

}  // namespace zel
