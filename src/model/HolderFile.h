#pragma once
// A holder's own file: the record markup of the holder (.mxh), or the same
// text as one zlib stream (.mhz); where that file lives; and holders made from
// CSV tables.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/SafeFileWriter.h"

namespace zel {

class AgentAPLAbs;
class MemoFile;
class MemoHolder;

// Where model reports go (parse errors of holder files and the like). The main
// window installs its log; until then lines go to standard error.
using LogSink = std::function<void(std::string_view line)>;
// Installs `sink` and returns the one it replaces (restore it when done).
LogSink setLogSink(LogSink sink);
void logLine(std::string_view line);

// Appends the three header lines and the `Holder` element.
void writeHolderFile_(MemoHolder& holder, std::vector<std::string>& lines);
// The `Holder` element: its settings lines and one record per node.
void writeHolder_(MemoHolder& holder, std::vector<std::string>& lines, std::string_view indent);
// The whole file text, each line ending in CR LF.
std::string holderFileText_(MemoHolder& holder);

// Reads the file at `path` into `holder` (meant to be empty). A .mhz file is
// inflated, unless it holds plain text (as an unpacked container leaves it).
// Parse errors go to the log line by line and the holder stays as it was.
// 0 when read; -1 when the file cannot be read or parsed; -2 when it has no
// `Holder` element; -3 when the agent said Break (the holder stays as it was
// in each failure). `error`, when given, receives the reason of a failure.
// With an agent, Break is asked every 50 records.
int readHolderFile_(MemoHolder& holder, std::string_view path, std::string* error = nullptr,
                    AgentAPLAbs* agent = nullptr);
// Reads holder markup already in memory, with the same rules; `origin` names
// it in log lines and reasons.
int readHolderText_(MemoHolder& holder, std::string_view text, std::string_view origin,
                    std::string* error = nullptr, AgentAPLAbs* agent = nullptr);
// As readHolderText_ for the bytes of a holder file of either form: a zlib
// stream is inflated (bounded), anything else is read as markup.
int readHolderBytes_(MemoHolder& holder, std::string_view bytes, std::string_view origin,
                     std::string* error = nullptr, AgentAPLAbs* agent = nullptr);

// Whether `bytes` are a zlib stream (a compressed holder) rather than markup.
bool looksCompressed(std::string_view bytes);

// The markup of the holder file at `path` as it stands, inflated (bounded)
// when it is a zlib stream. False when it cannot be read.
bool holderFilePlainText_(std::string_view path, std::string& text);

// Counts the save and stamps its time, then writes the file through the safe
// writer: plain for .mxh, compressed for .mhz. A file the holder was read from
// or last written to that another program has written since is not written
// over: the save fails, "changed on disk since it was read". The holder's own file (the
// path holderFilePath_ gives) is never written through a link out of its folder. The length of the
// text, or -1 for another extension or a failed write (`error` then says why).
long long saveHolderFile_(MemoHolder& holder, std::string_view path, std::string* error = nullptr);
// Writes the holder as it stands (no save count or time change), by the
// extension of `path`; same results as saveHolderFile_.
long long writeHolderText_(MemoHolder& holder, std::string_view path, std::string* error = nullptr);
// The bytes of the holder's file for `path`: the text for .mxh, compressed
// for .mhz. False with `error` set for another extension.
bool holderFileBytes_(MemoHolder& holder, std::string_view path, std::string& bytes,
                      std::string* error = nullptr);
// The same for a holder's text already made.
bool holderTextBytes_(std::string_view path, const std::string& text, std::string& bytes,
                      std::string* error = nullptr);

// The holder's own file: Filename when FlagExtra is set, else the default.
std::string holderFilePath_(const MemoHolder& holder);
// How a write of the holder to `path` treats a link there: its own file
// (a name from content) never through a link out of its folder.
LinkPolicy holderLinkPolicy_(const MemoHolder& holder, std::string_view path);
// The memo file's folder, the holder's safe name, the holder's FileExt.
std::string defaultHolderPath_(const MemoHolder& holder);

// A stored setting value as holder and index markup carry it: as it stands
// when it reads back unchanged, else quoted with its entity characters escaped.
std::string settingMarkupValue(std::string_view raw);

// A new holder appended to `file`, one node per line after the header (the
// second line); none when there are too few lines or no header.
MemoHolder* csvToHolder_(MemoFile& file, const std::vector<std::string>& lines);

}  // namespace zel
