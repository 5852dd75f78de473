#include "model/MemoFile.h"

#include <random>

#include "formats/Base64.h"
#include "formats/MarkupWords.h"
#include "formats/TTAGNode.h"
#include "model/HolderFile.h"
#include "model/MemoHolder.h"
#include "model/RecordText.h"
#include "platform/Compression.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/DateTime.h"
#include "text/LineList.h"
#include "text/NumberFormat.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>";

std::string timeComment() {
    return "<!-- " + formatDateTime("yyyymmdd hhnnss", currentDateTime()) + " -->";
}

// 0 to 99998, from a generator seeded once from the clock.
int boundaryRandom() {
    static std::mt19937 generator(
        static_cast<unsigned>(std::chrono::system_clock::now().time_since_epoch().count()));
    return std::uniform_int_distribution<int>(0, 99998)(generator);
}

// 21 digits: the date and time to the second, the month again, five random digits.
std::string newBoundary() {
    const DateTime now = currentDateTime();
    return formatDateTime("yyyymmddhhnnss", now) + formatDateTime("mm", now) +
           formatNumber("%.5d", boundaryRandom());
}

std::string startTag(std::string_view indent, std::string_view tag, std::string_view name) {
    std::string line(indent);
    line += '<';
    line += tag;
    line += " name=\"";
    appendEscapedMarkup(line, name);
    line += "\">";
    return line;
}

void appendLine(std::string& message, std::string_view line) {
    message += line;
    message += "\r\n";
}

void appendLines(std::string& message, const std::vector<std::string>& lines) {
    for (const auto& line : lines) appendLine(message, line);
}

bool inRange(int index, int count) {
    return index >= 0 && index < count;
}

}  // namespace

MemoFile::MemoFile() : MemoBasic(nullptr) {
    MemoFile::clear_();
}

MemoFile::~MemoFile() {
    currentHolder = nullptr;
    holders.reset();
}

int MemoFile::clear_() {
    MemoBasic::clear_();
    changed = false;
    indexOnDisk.forget();
    containerOnDisk.forget();
    containerPath.clear();
    currentHolder = nullptr;
    fileNames_.clear();
    if (holders)
        holders->clear_();
    else
        holders = std::make_unique<TObjectParent>(this);
    return 0;
}

std::string MemoFile::getNameChild_(const TObjectNamed* child) const {
    return holders->getNameChild_(child);
}

std::string MemoFile::putNameChild_as_(TObjectNamed* child, std::string_view wantedName) {
    return holders->putNameChild_as_(child, wantedName);
}

std::string MemoFile::getName_() const {
    return owner ? MemoBasic::getName_() : ownName_;
}

std::string MemoFile::putName_as_(std::string_view wantedName) {
    if (owner) return MemoBasic::putName_as_(wantedName);
    ownName_ = wantedName;
    return ownName_;
}

int MemoFile::_writeTSL_deep_(std::vector<std::string>& lines, std::string_view indent) {
    lines.push_back(startTag(indent, "File", getName_()));
    writeFields_(fields, lines, indent);
    writeMemo_(lines, indent);
    const std::string holderIndent = std::string(indent) + "  ";
    const std::string fieldIndent = holderIndent + "  ";
    for (int i = 0; i < countOfHolders_(); ++i) {
        MemoHolder* holder = holderAt_(i);
        lines.push_back(startTag(holderIndent, "Holder", holders->nameAt(i)));
        lines.push_back(fieldIndent + "<Field FlagLoaded=\"false\" />");
        if (holder->isReadOnly_()) lines.push_back(fieldIndent + "<Field FlagReadOnly=\"true\"/>");
        std::string fileExt = holder->getFileExt_();
        if (fileExt != "\".mxh\"")
            lines.push_back(fieldIndent + "<Field FileExt=" + settingMarkupValue(fileExt) + "/>");
        // Only a holder whose name would share another holder's file needs
        // its own file named, so the next reading finds the same file.
        const std::string given = holderFileName_(*holder);
        if (given != holderNameFileName(*holder)) {
            std::string value = "\"";
            appendEscapedMarkup(value, given);
            lines.push_back(fieldIndent + "<Field " + kHolderFileNameKey + "=" + value + "\"/>");
        }
        lines.push_back(holderIndent + "</Holder>");
    }
    lines.push_back(std::string(indent) + "</File>");
    return 0;
}

void MemoFile::readTag_(const TTAGNode& element) {
    if (trimText(element.name) != "File") return;
    std::string pending;
    for (const auto& item : element.items()) {
        if (!item.object) {
            pending += item.text;
            continue;
        }
        const TTAGNode& child = *item.object;
        const std::string name = trimText(child.name);
        if (name == "Holder") {
            readHolderElement(child);
        } else if (name == "Field") {
            std::string key, value;
            for (int i = 0; i < child.attrCount_(); ++i) {
                child.attrPair_(i, key, value);
                putField_(key, value);
            }
        } else if (name == "BR") {
            memo.push_back(std::move(pending));
            pending.clear();
        }
    }
    selectCurrentHolderAfterReading();
}

void MemoFile::readHolderElement(const TTAGNode& element) {
    std::string name = stripQuotes(element.getAttr_("name"));
    if (name.empty()) name = formatDateTime("YYYYMMDD hhnnss", currentDateTime()) + " ";
    auto holder = newHolderObject_();
    MemoHolder* added = holder.get();
    addHolder_(std::move(holder), name);
    added->readTag_(element);
}

void MemoFile::selectCurrentHolderAfterReading() {
    if (countOfHolders_() == 0) return;
    const std::string wanted = stripQuotes(getField_("CurrentHolder"));
    currentHolder =
        wanted.empty() ? holderAt_(0) : static_cast<MemoHolder*>(holders->findChild_(wanted));
}

std::unique_ptr<MemoHolder> MemoFile::newHolderObject_() {
    return std::make_unique<MemoHolder>(this);
}

int MemoFile::countOfHolders_() const {
    return holders ? static_cast<int>(holders->childCount()) : 0;
}

int MemoFile::indexOfHolder_(const MemoHolder* holder) const {
    return holders->indexOfChild(holder);
}

MemoHolder* MemoFile::holderAt_(int index) const {
    return inRange(index, countOfHolders_()) ? static_cast<MemoHolder*>(holders->childAt(index))
                                             : nullptr;
}

MemoHolder* MemoFile::holderByName_(std::string_view name) const {
    return static_cast<MemoHolder*>(holders->getChild_(name));
}

HolderList& MemoFile::listHolders_(HolderList& list) const {
    for (int i = 0; i < countOfHolders_(); ++i) list.emplace_back(holders->nameAt(i), holderAt_(i));
    return list;
}

std::string MemoFile::uniqueHolderName_(std::string_view wanted) const {
    return holders->uniqueName_(wanted);
}

MemoHolder* MemoFile::createHolder_(int index) {
    auto holder = newHolderObject_();
    MemoHolder* created = holder.get();
    const std::string name = uniqueHolderName_("new");
    if (inRange(index, countOfHolders_()))
        insertHolder_(index, std::move(holder), name);
    else
        addHolder_(std::move(holder), name);
    return created;
}

std::unique_ptr<MemoHolder> MemoFile::removeHolder_(MemoHolder* holder, int* formerIndex) {
    currentHolder = nullptr;
    const int index = indexOfHolder_(holder);
    if (formerIndex) *formerIndex = index;
    if (index < 0) return nullptr;
    fileNames_.forget(holder);
    return std::unique_ptr<MemoHolder>(
        static_cast<MemoHolder*>(holders->extractChild_(holder).release()));
}

std::string MemoFile::addHolder_(std::unique_ptr<MemoHolder> holder, std::string_view wanted) {
    return insertHolder_(countOfHolders_(), std::move(holder), wanted);
}

std::string MemoFile::insertHolder_(int index, std::unique_ptr<MemoHolder> holder,
                                    std::string_view wanted) {
    if (!holder) return {};
    MemoHolder* entered = holder.get();
    const std::size_t position =
        index < 0 ? holders->childCount() : static_cast<std::size_t>(index);
    std::string name = holders->insertChild_(position, std::move(holder), wanted);
    // The list set itself as owner; a holder answers to its memo file.
    entered->owner = this;
    return name;
}

void MemoFile::writeMemoFile_(std::vector<std::string>& lines) {
    lines.emplace_back(kXmlDeclaration);
    lines.push_back(timeComment());
    lines.emplace_back("<!DOCTYPE File [<!ENTITY quot \"&#34;\">]>");
    _writeTSL_deep_(lines, "");
}

void MemoFile::moveHolderLeft_(int index) {
    if (index > 0 && index < countOfHolders_()) holders->moveChildTo_(index, index - 1);
}

void MemoFile::moveHolderRight_(int index) {
    if (index >= 0 && index < countOfHolders_() - 1) holders->moveChildTo_(index, index + 1);
}

void MemoFile::moveHolderFirst_(int index) {
    if (index > 0 && index < countOfHolders_()) holders->moveChildTo_(index, 0);
}

void MemoFile::moveHolderLast_(int index) {
    const int count = countOfHolders_();
    if (index >= 0 && index < count - 1) holders->moveChildTo_(index, count - 1);
}

void MemoFile::moveHolder_(int from, int to) {
    const int count = countOfHolders_();
    if (inRange(from, count) && inRange(to, count)) holders->moveChildTo_(from, to);
}

std::string MemoFile::holderFileName_(const MemoHolder& holder) const {
    if (indexOfHolder_(&holder) < 0) return wantedHolderFileName(holder);
    return fileNames_.nameOf(*this, holder);
}

std::string MemoFile::getMemoFilePath_() const {
    std::string path = stripQuotes(getField_("Filename"));
    return path.empty() ? safeFileName(getName_()) + ".mxa" : path;
}

std::string MemoFile::getMemoFileDir_() const {
    return std::string(folderOf(stripQuotes(getField_("Filename"))));
}

int MemoFile::setFilename(std::string_view path) {
    const std::string absolute = !path.empty() && path.front() == '/'
                                     ? std::string(path)
                                     : currentDirectory() + std::string(path);
    putField_("Filename", wrapQuotes(absolute));
    std::string_view fileName = path.substr(folderOf(path).size());
    putName_as_(fileName.substr(0, fileName.size() - extensionOf(fileName).size()));
    return 0;
}

long long MemoFile::saveMemoFile_(std::string_view path) {
    lastError_.clear();
    const std::string extension = lowerText(extensionOf(path));
    if (extension == ".maz") return writeContainer_(path);
    if (extension != ".mxa") {
        lastError_ = "Not a memo file extension: " + std::string(path);
        return -1;
    }
    const std::string text = indexText_();
    FileStamp written;
    IoResult result = writeFileSafely(path, text, LinkPolicy::Follow, &written, &indexOnDisk);
    if (!result) {
        lastError_ = result.message;
        return -1;
    }
    indexOnDisk = {std::string(path), written};
    return static_cast<long long>(text.size());
}

std::string MemoFile::indexText_() {
    std::vector<std::string> lines;
    writeMemoFile_(lines);
    return linesText(lines);
}

void MemoFile::buildContainerMessage(std::string& message) {
    const std::string boundary = newBoundary();
    const std::string delimiter = "--" + boundary;
    appendLines(message, {"MIME-Version: 1.0", "Content-Type: multipart/mixed;",
                          "  boundary=\"" + boundary + "\"", "Content-Transfer-Encoding: 8bit", "",
                          delimiter});
    std::string indexPath = getMemoFilePath_();
    indexPath.resize(indexPath.size() - extensionOf(indexPath).size());
    appendLines(message,
                {"Content-Type: text/xml; charset=x-sjis", "Content-Transfer-Encoding: 8bit",
                 "Content-Disposition: inline;", "  filename=\"" + indexPath + ".mxa\"", ""});
    std::vector<std::string> index;
    _writeTSL_deep_(index, "");
    appendLines(message, index);
    appendLines(message, {"", delimiter});
    for (int i = 0; i < countOfHolders_(); ++i) {
        appendHolderPart(message, *holderAt_(i));
        appendLine(message, i + 1 == countOfHolders_() ? delimiter + "--" : delimiter);
    }
}

// The holder's whole file text, plain whatever its FileExt, in Base64. A
// holder not loaded carries its file as it stands; only one with no readable
// file is written empty, and announced.
void MemoFile::appendHolderPart(std::string& message, MemoHolder& holder) {
    const std::string path = holderFilePath_(holder);
    std::string text;
    if (holder.loaded || !holderFilePlainText_(path, text)) {
        if (!holder.loaded) announceNotLoaded_(path);
        text = holderFileText_(holder);
    }
    std::vector<std::string> base64;
    encodeBase64(std::optional<std::string>(std::move(text)), base64);
    appendLines(message,
                {"Content-Type: text/xml; charset=x-sjis", "Content-Transfer-Encoding: base64",
                 "Content-Disposition: attachment;", "  filename=\"" + path + "\"", ""});
    appendLines(message, base64);
    appendLine(message, "");
}

long long MemoFile::containerBytes_(std::string& bytes) {
    lastError_.clear();
    std::string message;
    buildContainerMessage(message);
    if (IoResult result = deflateBytes(message, bytes); !result) {
        lastError_ = result.message;
        return -1;
    }
    return static_cast<long long>(message.size());
}

long long MemoFile::writeContainer_(std::string_view path) {
    std::string bytes;
    const long long size = containerBytes_(bytes);
    if (size < 0) return -1;
    FileStamp written;
    IoResult result = writeFileSafely(path, bytes, LinkPolicy::Follow, &written, &containerOnDisk);
    if (!result) {
        lastError_ = result.message;
        return -1;
    }
    containerOnDisk = {std::string(path), written};
    return size;
}

std::string MemoFile::getDisplayMode_() const {
    return displayMode_.empty() ? "\"Holders\"" : displayMode_;
}

void MemoFile::announceNotLoaded_(const std::string& holderPath) {
    logLine("Not Loaded: " + holderPath);
}

int readIndexText_(MemoFile& file, std::string_view text, std::vector<std::string>& errors) {
    WordList words;
    splitWords(text, words, false);
    TTAGNode root;
    parseMarkup(root, words, errors);
    const TTAGNode* element = root.getElement_("File");
    if (!element) return -1;
    file.readTag_(*element);
    return 0;
}

int openIndex_(MemoFile& file, std::string_view path, std::vector<std::string>& errors,
               std::string* error) {
    // A set of files a killed run was replacing is completed before reading.
    tidyFolderOf(path);
    std::string text;
    FileStamp stamp;
    IoResult result = readFile(path, text, &stamp);
    if (!result) {
        if (error) *error = result.message;
        return -1;
    }
    file.clear_();
    file.indexOnDisk = {std::string(path), stamp};
    if (readIndexText_(file, text, errors) != 0) {
        if (error) *error = "No <File> element in " + std::string(path);
        return -1;
    }
    if (file.countOfHolders_() == 0) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->loaded = true;
        holder->setCurrent_(holder->makeNode_());
        file.currentHolder = holder;
    }
    file.setFilename(path);
    file.changed = false;
    return 0;
}

}  // namespace zel
