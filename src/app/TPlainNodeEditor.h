#pragma once
// A plain editor for the current node: its name, memo text, comment and
// fields as text boxes. It stands in the window until the full node view
// takes its place behind the same NodeEditor interface.

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include "app/NodeEditor.h"

namespace zel {

class TPlainNodeEditor : public QWidget, public NodeEditor {
    Q_OBJECT
  public:
    explicit TPlainNodeEditor(QWidget* parent = nullptr);

    void showNode(MemoNode* node) override;
    // Writes only into the node it shows, so a stale editor never
    // overwrites another node.
    void writeNode(MemoNode& node) override;
    void setEditorVisible(bool visible) override { setVisible(visible); }
    void setReadOnly(bool readOnly) override;
    std::string memoText() const override;
    void setMemoText(std::string_view text) override;
    void appendMemoLine(std::string_view line) override;
    void appendCommentLines(const std::vector<std::string>& lines) override;
    void setFieldsBoxValue(std::string_view key, std::string_view value) override;
    bool isOverComment(const QPoint& global) const override;
    bool isOverFields(const QPoint& global) const override;

    QLabel* StaticText_name = nullptr;
    QPlainTextEdit* MemoNode0 = nullptr;
    QPlainTextEdit* Memo_comment = nullptr;
    QPlainTextEdit* Memo_Fields = nullptr;

  private:
    MemoNode* shown_ = nullptr;
};

}  // namespace zel
