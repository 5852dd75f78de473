#pragma once
// What the main window needs from the editor that shows the current node:
// fill it from a node (Model2UI), write it back (UI2Model), and the few
// edits that dropped files and the log window make in it.

#include <QPoint>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

class MemoNode;
class NodeWindowHost;
class TFrameMemoNode;

class NodeEditor {
  public:
    virtual ~NodeEditor() = default;

    // The widget the window places beside the holder list.
    virtual QWidget* widget() = 0;
    // The node view itself, whose text tools the [MarkWord] commands run.
    virtual TFrameMemoNode* nodeFrame() = 0;
    // Shows `node` (none clears the editor).
    virtual void showNode(MemoNode* node) = 0;
    // Writes the editor into `node`.
    virtual void writeNode(MemoNode& node) = 0;
    // The fields box alone: written into `node` / loaded from it.
    virtual void writeFields(MemoNode& node) = 0;
    virtual void showFields(MemoNode& node) = 0;
    // The name line shows `name`, which the node was given elsewhere.
    virtual void showName(std::string_view name) = 0;
    virtual void setEditorVisible(bool visible) = 0;
    virtual void setReadOnly(bool readOnly) = 0;

    // The memo box, lines joined with CR LF.
    virtual std::string memoText() const = 0;
    virtual void setMemoText(std::string_view text) = 0;
    virtual void appendMemoLine(std::string_view line) = 0;
    virtual void appendCommentLines(const std::vector<std::string>& lines) = 0;
    // Sets `key` in the fields box: the existing line's value is replaced,
    // else the line is added.
    virtual void setFieldsBoxValue(std::string_view key, std::string_view value) = 0;

    // Whether a point (global coordinates) lies over the comment or fields box.
    virtual bool isOverComment(const QPoint& global) const = 0;
    virtual bool isOverFields(const QPoint& global) const = 0;

    // The window as the node windows it opens see it.
    virtual NodeWindowHost& nodeWindowHost() = 0;
};

}  // namespace zel
