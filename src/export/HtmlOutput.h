#pragma once
// Where exported pages go and how they are written: beside the holder's file,
// streamed through the safe writer (old file or new, never torn), and never
// over one of the memo file's own data files.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "export/HtmlPieces.h"
#include "platform/IoResult.h"

namespace zel {

class MemoFile;
class MemoHolder;
class MemoNode;

enum class CalendarLayout { Month, Week };

// Pages of a holder go beside `holderFile`, the holder's own file
// (holderFilePath_ in the window).
// The holder's file with the extension ".html".
std::string holderPagePath(std::string_view holderFile);
// The holder's file without its extension, "_" and the date as YYYYMM (a
// month page) or YYYYMMDD (a list page), and ".html".
std::string calendarPagePath(std::string_view holderFile, const DateTime& date,
                             CalendarLayout layout);
// "holders_" + the memo file's name with the extension ".html", in `folder`
// (which ends in "/", or is empty for the current folder).
std::string holderListPagePath(const MemoFile& file, std::string_view folder);
// The file a node page is first offered under: FilenameLocal, else Filename,
// with ".html" added unless it ends in ".html" or ".htm"; "link.html" when no
// such file exists. A relative name counts from the folder of `holderFile`.
std::string nodePageProposal(std::string_view holderFile, const MemoNode& node);

// The files a page must never replace: the memo file of `holder` (when it
// has one) and the files of all its holders, else the holder's own file.
std::vector<std::string> dataFilesOf(const MemoHolder& holder);
std::vector<std::string> dataFilesOf(const MemoFile& file);
// Whether two paths name the same file: the same absolute path once "." and
// ".." are resolved, or, for files that exist, the same file on disk.
bool sameFile(std::string_view a, std::string_view b);

// Writes the lines `produce` gives to `path` (CR LF after each), straight
// through the safe writer. Refused, with nothing written, when `path` is one
// of `dataFiles`.
IoResult savePage(std::string_view path, const std::vector<std::string>& dataFiles,
                  const std::function<void(PageSink&)>& produce);

// "Failure: Make & Save HTML File " + path + " " + the reason.
std::string pageFailureText(std::string_view path, const IoResult& result);

}  // namespace zel
