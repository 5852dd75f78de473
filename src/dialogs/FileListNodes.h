#pragma once
// "Make Nodes" of the file list window: one memo node per line of a list,
// named after the line (or its file-name part), with the line stored in its
// fields and template fields applied. The window, "Memo->Current Holder"
// and zel-tool import-files make their nodes here.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class MemoHolder;
class MemoNode;

struct FileListNodeOptions {
    // "Name:=ExtractFilename()": the node takes the line's file-name part.
    bool nameFromFileName = true;
    // Filename := the line in double quotes; Link := the same.
    bool setFilename = true;
    bool setLink = false;
    // Names and fields take the trimmed line, or the line as written.
    bool trimLines = true;
    // Lines "Key=Value" (the value as written, quotes included) applied to
    // every node in order; a line without "=" is a key with an empty value,
    // which removes that field. Lines with an empty or unstorable key are
    // skipped.
    std::vector<std::string> templateLines;
};

// The three template lines the window starts with.
std::vector<std::string> defaultFileListTemplate();

struct FileListNodesMade {
    int count = 0;
    // The first and the last node made; none when no line gave a node.
    MemoNode* first = nullptr;
    MemoNode* last = nullptr;
    // Break stopped the run; the nodes made until then stay.
    bool broken = false;
};

struct FileListNodeRun {
    // Copied for every node when given (beside the current node, as copies
    // are placed); else each node is made by the holder's new-node rules.
    const MemoNode* pattern = nullptr;
    // Asked every 50 lines; true stops the run.
    std::function<bool()> breakRequested;
    // A sorted holder is sorted once, after the last node: by this (which
    // sorts as the holder's list mode says and lets its view follow), else
    // by the holder's node list.
    std::function<void(MemoHolder&)> reorder;
};

// Makes a node per line of `lines` whose trimmed text is not empty, in
// order, in `holder`, named after the line (the holder may make the name
// unique). Marks the holder changed when a node was made; the current
// node stays as it was (the caller decides).
FileListNodesMade makeNodesFromLines(MemoHolder& holder, const std::vector<std::string>& lines,
                                     const FileListNodeOptions& options,
                                     const FileListNodeRun& run = {});

}  // namespace zel
