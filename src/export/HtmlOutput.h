#pragma once
// Where exported pages go and how they are written: beside the holder's file,
// streamed through the safe writer (old file or new, never torn), never over
// one of the memo file's own data files nor over any file that is not a page
// of ours.

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
// The plain file name a node page is named after: the last component of
// FilenameLocal, else of Filename, with ".html" added unless it ends in
// ".html" or ".htm"; "link.html" when neither names a file. Never a path,
// "." or "..", so the node cannot send its page out of the folder.
std::string nodePageName(const MemoNode& node);
// The node page in `folder` (ending in "/", or empty for the current
// folder): nodePageName when a file of that name is there, else "link.html".
std::string nodePagePath(std::string_view folder, const MemoNode& node);

// The files a page must never replace: the memo file of `holder` (when it
// has one) and the files of all its holders, else the holder's own file.
std::vector<std::string> dataFilesOf(const MemoHolder& holder);
std::vector<std::string> dataFilesOf(const MemoFile& file);
// Whether two paths name the same file: the same absolute path once "." and
// ".." are resolved, or, for files that exist, the same file on disk.
bool sameFile(std::string_view a, std::string_view b);

// Writes the lines `produce` gives to `path` (CR LF after each), straight
// through the safe writer. Refused, with nothing written, when `path` is one
// of `dataFiles` or has the extension of a memo or holder file, when a file
// is there that is not a page (isPageFile), and when `path` is a link that
// leads out of its folder.
IoResult savePage(std::string_view path, const std::vector<std::string>& dataFiles,
                  const std::function<void(PageSink&)>& produce);
// Whether the file at `path` may be replaced by a page: a file named
// ".html" or ".htm" (any case) that is empty or begins with the doctype line
// every page of ours begins with. Anything else there was written by someone
// else (or is a folder) and is kept.
bool isPageFile(std::string_view path);

// "Failure: Make & Save HTML File " + path + " " + the reason.
std::string pageFailureText(std::string_view path, const IoResult& result);

}  // namespace zel
