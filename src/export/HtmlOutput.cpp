#include "export/HtmlOutput.h"

#include <filesystem>
#include <system_error>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/Environment.h"
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

std::string nodePageProposal(std::string_view holderFile, const MemoNode& node) {
    std::string name(unquotedView(node.fields.value("FilenameLocal")));
    if (name.empty()) name = unquotedView(node.fields.value("Filename"));
    if (trimmedView(name).empty()) return "link.html";
    if (!endsWithText(name, ".html") && !endsWithText(name, ".htm")) name += ".html";
    name = withSlashes(name);
    if (name.front() != '/') name = std::string(folderOf(holderFile)) + name;
    return fileExists(name) ? name : "link.html";
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

IoResult savePage(std::string_view path, const std::vector<std::string>& dataFiles,
                  const std::function<void(PageSink&)>& produce) {
    for (const std::string& data : dataFiles) {
        if (sameFile(path, data))
            return IoResult::failure("it is a data file of the memo file: " + data);
    }
    SafeFileWriter writer(path);
    FileSink sink(writer);
    produce(sink);
    if (!writer.status()) return writer.status();
    return writer.commit();
}

std::string pageFailureText(std::string_view path, const IoResult& result) {
    return "Failure: Make & Save HTML File " + std::string(path) + " " + result.message;
}

}  // namespace zel
