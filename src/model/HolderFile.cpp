#include "model/HolderFile.h"

#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>

#include "formats/MarkupTree.h"
#include "model/HolderFileNames.h"
#include "model/HolderReader.h"
#include "model/MemoFile.h"
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

LogSink& currentSink() {
    static LogSink sink;
    return sink;
}

constexpr std::string_view kTrue = "\"true\"";
constexpr std::string_view kStampPattern = "YYYYMMDD hhnnss";

std::string fieldLine(std::string_view indent, std::string_view key, std::string_view value) {
    std::string line(indent);
    line += "<Field ";
    line += key;
    line += '=';
    line += value;
    line += "/>";
    return line;
}

std::string quotedLine(std::string_view indent, std::string_view key, std::string_view text) {
    std::string value = "\"";
    value += text;
    value += '"';
    return fieldLine(indent, key, value);
}

std::string flagText(bool flag) {
    return flag ? "true" : "false";
}

// A setting whose unquoted, lower-cased value is neither empty nor the default.
bool differsFromDefault(std::string_view raw, std::string_view lowerDefault) {
    std::string value = lowerText(unquotedView(raw));
    return !value.empty() && value != lowerDefault;
}

// The settings written only when they are set or differ from their defaults.
void writeChosenSettings(MemoHolder& holder, std::vector<std::string>& lines,
                         std::string_view indent) {
    if (holder.currentNode && holder.indexOf_(holder.currentNode) >= 0) {
        std::string name;
        appendEscapedMarkup(name, trimmedView(holder.currentNode->getName_()));
        lines.push_back(quotedLine(indent, "curIndex", name));
    }
    lines.push_back(
        fieldLine(indent, "NewNodeName", settingMarkupValue(trimText(holder.getNewNodeName_()))));
    std::string formatDate = holder.getField_("FormatDate");
    if (differsFromDefault(formatDate, "yyyymmdd"))
        lines.push_back(fieldLine(indent, "FormatDate", settingMarkupValue(formatDate)));
    std::string formatNumberRaw = holder.getField_("FormatNumber");
    if (differsFromDefault(formatNumberRaw, kDefaultNumberFormat))
        lines.push_back(fieldLine(indent, "FormatNumber", settingMarkupValue(formatNumberRaw)));
    if (holder.isFlagExtra_()) lines.push_back(fieldLine(indent, "FlagExtra", kTrue));
    if (holder.isSameName_()) lines.push_back(fieldLine(indent, "FlagSameName", kTrue));
    std::string fileExt = holder.getFileExt_();
    if (fileExt != "\".mxh\"")
        lines.push_back(fieldLine(indent, "FileExt", settingMarkupValue(fileExt)));
    if (holder.isReadOnly_()) lines.push_back(fieldLine(indent, "FlagReadOnly", kTrue));
    std::string option = holder.getNewNodeOption_();
    if (option != "\"Normal\"")
        lines.push_back(fieldLine(indent, "NewNodeOption", settingMarkupValue(option)));
    if (holder.isFlagExtra_()) {
        std::string path;
        appendEscapedMarkup(path, holderFilePath_(holder));
        lines.push_back(quotedLine(indent, "FileName", path));
    }
    std::string mode = holder.getField_("ModeNodesMngr");
    if (!mode.empty() && mode != "\"Nodes\"" && mode != "\"CheckListBox\"")
        lines.push_back(fieldLine(indent, "ModeNodesMngr", settingMarkupValue(mode)));
    for (std::string_view key : {"Color", "QueryNode"}) {
        std::string raw = holder.getField_(key);
        if (!raw.empty()) lines.push_back(fieldLine(indent, key, settingMarkupValue(raw)));
    }
}

// The sort, reload and save state, always written.
void writeStateSettings(const MemoHolder& holder, std::vector<std::string>& lines,
                        std::string_view indent) {
    lines.push_back(quotedLine(indent, "flagSort", flagText(holder.getSort_())));
    lines.push_back(quotedLine(indent, "flagAscending", flagText(holder.getAscending_())));
    lines.push_back(quotedLine(indent, "flagAccount", flagText(holder.flagAccount)));
    lines.push_back(quotedLine(indent, "flagAutoReLoad", flagText(holder.flagAutoReLoad)));
    lines.push_back(quotedLine(indent, "ReloadMinutes", std::to_string(holder.reloadMinutes)));
    lines.push_back(
        quotedLine(indent, "TimeReLoad", formatDateTime(kStampPattern, holder.timeReload)));
    lines.push_back(quotedLine(indent, "flagAutoSave", flagText(holder.flagAutoSave)));
    lines.push_back(quotedLine(indent, "SaveMinutes", std::to_string(holder.saveMinutes)));
    lines.push_back(
        quotedLine(indent, "TimeSaved", formatDateTime(kStampPattern, holder.timeSaved)));
    lines.push_back(quotedLine(indent, "CountSave", std::to_string(holder.countSave)));
}

void appendHeaderLines(std::vector<std::string>& lines) {
    lines.emplace_back("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>");
    lines.push_back("<!-- " + formatDateTime("yyyymmdd hhnnss", currentDateTime()) + " -->");
    lines.emplace_back("<!DOCTYPE Holder [<!ENTITY quot \"&#34;\">]>");
}

// Hands the `Holder` element out in batches of lines - its start and settings,
// then one record at a time, then its end - so a file's text is built without
// first holding every line of it in one list.
template <class Take>
void emitHolder(MemoHolder& holder, std::string_view indent, Take&& take) {
    std::vector<std::string> batch;
    std::string start(indent);
    start += "<Holder name=\"";
    appendEscapedMarkup(start, holder.getName_());
    start += "\">";
    batch.push_back(std::move(start));
    const std::string inner = std::string(indent) + "  ";
    writeChosenSettings(holder, batch, inner);
    writeStateSettings(holder, batch, inner);
    take(batch);
    for (int i = 0; i < holder.count_(); ++i) {
        holder.at_(i)->writeNodeRecord_(batch, inner);
        take(batch);
    }
    batch.push_back(std::string(indent) + "</Holder>");
    take(batch);
}

bool fileBytes(std::string_view path, const std::string& text, std::string& bytes,
               std::string* error) {
    const std::string extension = lowerText(extensionOf(path));
    IoResult result;
    if (extension == ".mxh")
        bytes = text;
    else if (extension == ".mhz")
        result = deflateBytes(text, bytes);
    else
        result = IoResult::failure("Not a holder file extension: " + std::string(path));
    if (!result && error) *error = result.message;
    return static_cast<bool>(result);
}

// Over the holder's own file only while it is as the holder last knew it.
long long writeText(MemoHolder& holder, std::string_view path, const std::string& text,
                    std::string* error, LinkPolicy links) {
    std::string bytes;
    if (!fileBytes(path, text, bytes, error)) return -1;
    FileStamp written;
    IoResult result = writeFileSafely(path, bytes, links, &written, &holder.onDisk);
    if (error) *error = result.message;
    if (!result) return -1;
    holder.onDisk = {std::string(path), written};
    return static_cast<long long>(text.size());
}

// The folder of the holder's files: its memo file's, else the working folder.
std::string holderFolder(const MemoHolder& holder) {
    const MemoFile* file = holder.getMemoFile_();
    return file ? file->getMemoFileDir_() : currentDirectory();
}

}  // namespace

// A zlib stream begins with a deflate method byte and a check that makes the
// first two bytes a multiple of 31; holder markup, which begins with "<", a
// blank or a line break, never does.
bool looksCompressed(std::string_view bytes) {
    if (bytes.size() < 2) return false;
    auto method = static_cast<unsigned char>(bytes[0]);
    auto flags = static_cast<unsigned char>(bytes[1]);
    return (method & 0x0F) == 8 && (method >> 4) <= 7 && ((method << 8) | flags) % 31 == 0;
}

// A stored setting is written as it stands. One the reader could not take
// back unchanged - an entity character or a quote inside it, or no quotes
// around it - is written quoted and escaped instead.
std::string settingMarkupValue(std::string_view raw) {
    std::string_view inner = unquotedView(raw);
    bool quoted = raw.size() >= 2 && raw.front() == '"' && raw.back() == '"';
    if (quoted && inner.find_first_of("&<>\"") == std::string_view::npos) return std::string(raw);
    std::string value = "\"";
    appendEscapedMarkup(value, inner);
    value += '"';
    return value;
}

LogSink setLogSink(LogSink sink) {
    LogSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

void logLine(std::string_view line) {
    if (currentSink())
        currentSink()(line);
    else
        std::cerr << line << '\n';
}

void writeHolderFile_(MemoHolder& holder, std::vector<std::string>& lines) {
    appendHeaderLines(lines);
    writeHolder_(holder, lines, "");
}

void writeHolder_(MemoHolder& holder, std::vector<std::string>& lines, std::string_view indent) {
    emitHolder(holder, indent, [&lines](std::vector<std::string>& batch) {
        lines.insert(lines.end(), std::make_move_iterator(batch.begin()),
                     std::make_move_iterator(batch.end()));
        batch.clear();
    });
}

std::string holderFileText_(MemoHolder& holder) {
    std::string text;
    auto append = [&text](std::vector<std::string>& batch) {
        for (const auto& line : batch) {
            text += line;
            text += "\r\n";
        }
        batch.clear();
    };
    std::vector<std::string> header;
    appendHeaderLines(header);
    append(header);
    emitHolder(holder, "", append);
    return text;
}

namespace {

int failed(std::string* error, int code, std::string why) {
    if (error) *error = std::move(why);
    return code;
}

// A file that inflates or parses to more than memory holds is refused with
// the reason, the memory it took given back, instead of ending the program.
int notEnoughMemory(std::string* error, std::string_view origin) {
    std::string why = "not enough memory to read " + std::string(origin);
    logLine(why);
    return failed(error, -1, std::move(why));
}

// The holder's records become nodes as the bytes go by, in one pass: no word
// list and no tree stand in between.
int readHolderMarkup(HolderReader& reader, std::string_view text, std::string_view origin,
                     std::string* error) {
    std::vector<std::string> errors;
    MarkupStream<HolderReader> stream(reader, errors);
    try {
        stream.feed(text);
    } catch (const std::length_error& tooLong) {
        // A text the model cannot hold (a memo of 4 GiB or more) refuses the
        // file rather than ending the program.
        reader.abandon();
        const std::string why = std::string(origin) + ": " + tooLong.what();
        logLine(why);
        return failed(error, -1, why);
    }
    const int parsed = stream.finish();
    if (reader.stopped()) {
        reader.abandon();
        return failed(error, -3, "Break: reading " + std::string(origin) + " stopped");
    }
    if (parsed != 0) {
        reader.abandon();
        logLine("Markup error in " + std::string(origin));
        for (const auto& line : errors) logLine(line);
        return failed(error, -1, "Markup error in " + std::string(origin));
    }
    if (!reader.sawHolder())
        return failed(error, -2, "No <Holder> element in " + std::string(origin));
    reader.finish();
    return 0;
}

}  // namespace

int readHolderText_(MemoHolder& holder, std::string_view text, std::string_view origin,
                    std::string* error, AgentAPLAbs* agent) {
    HolderReader reader(holder, agent);
    try {
        return readHolderMarkup(reader, text, origin, error);
    } catch (const std::bad_alloc&) {
        // The nodes read so far go now.
        reader.abandon();
        return notEnoughMemory(error, origin);
    }
}

int readHolderBytes_(MemoHolder& holder, std::string_view bytes, std::string_view origin,
                     std::string* error, AgentAPLAbs* agent) {
    if (!looksCompressed(bytes)) return readHolderText_(holder, bytes, origin, error, agent);
    std::string plain;
    IoResult result;
    try {
        result = inflateBytes(bytes, plain);
    } catch (const std::bad_alloc&) {
        std::string().swap(plain);
        return notEnoughMemory(error, origin);
    }
    if (!result) {
        std::string why = std::string(origin) + ": " + result.message;
        logLine(why);
        return failed(error, -1, std::move(why));
    }
    return readHolderText_(holder, plain, origin, error, agent);
}

int readHolderFile_(MemoHolder& holder, std::string_view path, std::string* error,
                    AgentAPLAbs* agent) {
    std::string bytes;
    FileStamp stamp;
    IoResult result;
    try {
        result = readFile(path, bytes, &stamp);
    } catch (const std::bad_alloc&) {
        std::string().swap(bytes);
        return notEnoughMemory(error, path);
    }
    if (!result) {
        logLine(result.message);
        return failed(error, -1, result.message);
    }
    const int read = lowerText(extensionOf(path)) == ".mhz"
                         ? readHolderBytes_(holder, bytes, path, error, agent)
                         : readHolderText_(holder, bytes, path, error, agent);
    if (read == 0) holder.onDisk = {std::string(path), stamp};
    return read;
}

bool holderFilePlainText_(std::string_view path, std::string& text) {
    std::string bytes;
    if (!readFile(path, bytes)) return false;
    if (!looksCompressed(bytes)) {
        text = std::move(bytes);
        return true;
    }
    return static_cast<bool>(inflateBytes(bytes, text));
}

long long writeHolderText_(MemoHolder& holder, std::string_view path, std::string* error) {
    return writeText(holder, path, holderFileText_(holder), error, holderLinkPolicy_(holder, path));
}

bool holderFileBytes_(MemoHolder& holder, std::string_view path, std::string& bytes,
                      std::string* error) {
    return fileBytes(path, holderFileText_(holder), bytes, error);
}

bool holderTextBytes_(std::string_view path, const std::string& text, std::string& bytes,
                      std::string* error) {
    return fileBytes(path, text, bytes, error);
}

long long saveHolderFile_(MemoHolder& holder, std::string_view path, std::string* error) {
    std::string extension = lowerText(extensionOf(path));
    if (extension != ".mxh" && extension != ".mhz") {
        if (error) *error = "Not a holder file extension: " + std::string(path);
        return -1;
    }
    // The file carries the new count and time, so they change first; a failed
    // write takes them back.
    const std::int32_t previousCount = holder.countSave;
    const DateTime previousTime = holder.timeSaved;
    ++holder.countSave;
    holder.timeSaved = currentDateTime();
    long long written = writeHolderText_(holder, path, error);
    if (written < 0) {
        holder.countSave = previousCount;
        holder.timeSaved = previousTime;
    }
    return written;
}

// A Filename the holder's own file or the index carried is a name from
// content: only its plain name counts, as the holder's file in the memo
// file's folder (HolderFileNames.h). One the user or the program gave since
// is followed as it stands.
// The holder's own file came from its name or its index, so no link may
// carry it out of its folder; a path the user chose is followed.
LinkPolicy holderLinkPolicy_(const MemoHolder& holder, std::string_view path) {
    return path == holderFilePath_(holder) ? LinkPolicy::StayInFolder : LinkPolicy::Follow;
}

std::string holderFilePath_(const MemoHolder& holder) {
    if (holder.isFlagExtra_()) {
        const std::string raw = holder.getField_("Filename");
        std::string own = stripQuotes(raw);
        if (!own.empty() && raw != holder.filenameFromContent) return own;
    }
    std::string path = stripQuotes(defaultHolderPath_(holder));
    if (path.empty()) path = currentDirectory() + "noname.mxh";
    return path;
}

std::string defaultHolderPath_(const MemoHolder& holder) {
    const MemoFile* file = holder.getMemoFile_();
    return holderFolder(holder) +
           (file ? file->holderFileName_(holder) : wantedHolderFileName(holder));
}

MemoHolder* csvToHolder_(MemoFile& file, const std::vector<std::string>& lines) {
    if (lines.size() <= 2 || trimText(lines[1]).empty()) return nullptr;
    const std::vector<std::string> header = splitQuoted(lines[1], ",");
    if (header.empty()) return nullptr;
    MemoHolder* holder = file.createHolder_(-1);
    for (std::size_t row = 2; row < lines.size(); ++row) {
        MemoNode* node = holder->makeNode_();
        const std::vector<std::string> cells = splitQuoted(lines[row], ",");
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) {
            std::string key = trimText(header[i]);
            if (key.empty()) key = formatNumber("%.2d", static_cast<long long>(i) + 1);
            std::string value = trimText(cells[i]);
            if (value.empty() || value.front() != '"') value = wrapQuotes(value);
            node->putField_(key, value);
        }
    }
    return holder;
}

}  // namespace zel
