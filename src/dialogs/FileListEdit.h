#pragma once
// The file list window's list: paths added by dropping files and folders
// (optionally every file or folder below a dropped folder), and the buttons
// that reshape every line at once. Lines are Shift_JIS model text.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The "DragAndDrop" choices, in the order the window lists them.
enum class FileDropMode {
    FullName = 0,
    FileName = 1,
    ExpandSubDir = 2,
    DirectoryOnly = 3,
    Poser = 4
};

// Lets pending window events through and answers whether Break was pressed.
using FileListBreak = std::function<bool()>;

// Appends to `lines` what dropping `paths` (full paths, in the order given)
// adds in `mode`: each path, or its file-name part; with ExpandSubDir the
// files below a dropped folder (symbolic links listed, never followed) and
// then the folder; with DirectoryOnly the folders below it, deeper ones
// first, and then the folder; with Poser nothing. Break is asked before each
// dropped path and each folder entered; once pressed nothing more is added.
// Yields the number of lines added.
int addDroppedPaths(const std::vector<std::string>& paths, FileDropMode mode,
                    std::vector<std::string>& lines, const FileListBreak& breakRequested = {});

// The list buttons.
void addHeadToLines(std::vector<std::string>& lines, std::string_view word);
void addTailToLines(std::vector<std::string>& lines, std::string_view word);
// Each line becomes what follows its first word, trimmed (empty without a
// blank or tab).
void deleteHeadOfLines(std::vector<std::string>& lines);
// "%.5d " and the line, counting from 1.
void numberLines(std::vector<std::string>& lines);
// Letter case ignored, equal lines kept in their order.
void sortLines(std::vector<std::string>& lines);
// <a href="L" >L</a>
void linkLinesAsHTML(std::vector<std::string>& lines);

}  // namespace zel
