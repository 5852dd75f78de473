#include "export/HtmlOutput.h"

#include <filesystem>
#include <system_error>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Environment.h"
#include "platform/ExternalNames.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// Lines go to the writer as they come, so a page is never held whole.
class FileSink final : public PageSink {
  public:
    explicit FileSink(SafeFileWriter& writer) : writer_(writer) {}
    void line(std::string_view text) override {
        writer_.append(text);
        writer_.append("\r\n");
    }

  private:
    SafeFileWriter& writer_;
};

// `path` made absolute, with empty, "." and ".." components resolved.
std::string normalPath(std::string_view path) {
    const std::string absolute = !path.empty() && path.front() == '/'
                                     ? std::string(path)
                                     : currentDirectory() + std::string(path);
    std::vector<std::string_view> parts;
    std::string_view rest = absolute;
    while (!rest.empty()) {
        const std::size_t slash = rest.find('/');
        const std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (std::string_view part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

std::string withoutExtension(std::string path) {
    path.resize(path.size() - extensionOf(path).size());
    return path;
}

bool endsWithText(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           sameText(text.substr(text.size() - suffix.size()), suffix);
}

constexpr const char* kLinkPage = "link.html";

bool isPageName(std::string_view path) {
    return endsWithText(path, ".html") || endsWithText(path, ".htm");
}

// The files a memo file is made of, by their extension.
bool isDataName(std::string_view path) {
    const std::string extension = lowerText(extensionOf(path));
    return extension == ".mxa" || extension == ".maz" || extension == ".mxh" || extension == ".mhz";
}

}  // namespace

std::string holderPagePath(std::string_view holderFile) {
    return withExtension(holderFile, ".html");
}

std::string calendarPagePath(std::string_view holderFile, const DateTime& date,
                             CalendarLayout layout) {
    return withoutExtension(std::string(holderFile)) + "_" +
           formatDateTime(layout == CalendarLayout::Week ? "yyyymmdd" : "yyyymm", date) + ".html";
}

std::string holderListPagePath(const MemoFile& file, std::string_view folder) {
    return std::string(folder) + "holders_" + withExtension(file.getName_(), ".html");
}

std::string nodePageName(const MemoNode& node) {
    std::string_view named = unquotedView(node.fields.value("FilenameLocal"));
    if (named.empty()) named = unquotedView(node.fields.value("Filename"));
    if (trimmedView(named).empty()) return kLinkPage;
    std::string name = plainFileName(named, kLinkPage);
    if (!isPageName(name)) name = plainFileName(name + ".html");
    return name;
}

std::string nodePagePath(std::string_view folder, const MemoNode& node) {
    const std::string named = std::string(folder) + nodePageName(node);
    return fileExists(named) ? named : std::string(folder) + kLinkPage;
}

std::vector<std::string> dataFilesOf(const MemoFile& file) {
    std::vector<std::string> files;
    if (!unquotedView(file.getField_("Filename")).empty()) files.push_back(file.getMemoFilePath_());
    for (int i = 0; i < file.countOfHolders_(); ++i)
        files.push_back(holderFilePath_(*file.holderAt_(i)));
    return files;
}

std::vector<std::string> dataFilesOf(const MemoHolder& holder) {
    if (const MemoFile* file = holder.getMemoFile_()) return dataFilesOf(*file);
    return {holderFilePath_(holder)};
}

bool sameFile(std::string_view a, std::string_view b) {
    if (normalPath(a) == normalPath(b)) return true;
    std::error_code error;
    return std::filesystem::equivalent(std::filesystem::path(sjisToUtf8(a)),
                                       std::filesystem::path(sjisToUtf8(b)), error) &&
           !error;
}

bool isPageFile(std::string_view path) {
    if (!isPageName(path) || !fileExists(path)) return false;
    FileReader reader(path);
    const std::size_t wanted = kDoctypeLine.size() + 2;
    std::string start;
    std::string chunk;
    while (start.size() < wanted && reader.read(chunk, wanted - start.size()) && !chunk.empty())
        start += chunk;
    if (!reader.status()) return false;
    return start.empty() || start == std::string(kDoctypeLine) + "\r\n";
}

IoResult savePage(std::string_view path, const std::vector<std::string>& dataFiles,
                  const std::function<void(PageSink&)>& produce) {
    for (const std::string& data : dataFiles) {
        if (sameFile(path, data))
            return IoResult::failure("it is a data file of the memo file: " + data);
    }
    if (isDataName(path))
        return IoResult::failure("a page is never written under the name of a memo or holder file");
    if (pathExists(path) && !isPageFile(path))
        return IoResult::failure("a file is there that is not a page written by this program");
    // A name may come from a node: a link there may not lead the page out.
    SafeFileWriter writer(path, LinkPolicy::StayInFolder);
    FileSink sink(writer);
    produce(sink);
    if (!writer.status()) return writer.status();
    return writer.commit();
}

std::string pageFailureText(std::string_view path, const IoResult& result) {
    return "Failure: Make & Save HTML File " + std::string(path) + " " + result.message;
}

}  // namespace zel
