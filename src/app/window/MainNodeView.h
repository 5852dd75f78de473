#pragma once
// The node view in the main window: the editor of the current node beside
// the holder list. It is the window's NodeEditor, the owner its view talks
// to, and the host of the node windows the window opens.

#include "app/window/NodeEditor.h"
#include "views/NodeViewOwner.h"
#include "views/TFrameMemoNode.h"

namespace zel {

class TFormMainBase0007;

class MainNodeView : public NodeEditor, public NodeViewOwner, public NodeWindowHost {
  public:
    // The view's widget gets `parent`; the window then places it.
    MainNodeView(TFormMainBase0007& window, QWidget* parent);

    TFrameMemoNode* frame() const { return frame_; }

    // NodeEditor.
    QWidget* widget() override { return frame_; }
    TFrameMemoNode* nodeFrame() override { return frame_; }
    void showNode(MemoNode* node) override;
    void writeNode(MemoNode& node) override;
    void writeFields(MemoNode& node) override;
    void showFields(MemoNode& node) override;
    void showName(std::string_view name) override;
    void setEditorVisible(bool visible) override { frame_->setVisible(visible); }
    void setReadOnly(bool readOnly) override { frame_->setReadOnly(readOnly); }
    std::string memoText() const override;
    void setMemoText(std::string_view text) override;
    void appendMemoLine(std::string_view line) override;
    void appendCommentLines(const std::vector<std::string>& lines) override;
    void setFieldsBoxValue(std::string_view key, std::string_view value) override;
    bool isOverComment(const QPoint& global) const override;
    bool isOverFields(const QPoint& global) const override;
    NodeWindowHost& nodeWindowHost() override { return *this; }

    // NodeViewOwner.
    void nodeViewMessage(std::string_view text) override;
    void mainWindowMessage(std::string_view text) override;
    void nodeViewBox(BoxTone tone, std::string_view text) override;
    AgentAPLAbs* nodeViewAgent() override;
    bool isMainWindow() const override { return true; }
    std::string readerName() const override;
    std::string dateFormat() const override;
    bool isBusy() override;
    std::string programDirectory() const override;
    bool pasteImageAsNewNode(const QImage& image) override;
    bool askNodeName(MemoNode& node, std::string& name) override;
    // The window lets go of its node before any node goes.
    bool isNodeAlive(const MemoNode*) const override { return true; }
    // The body views' questions and requests, through the Prompter and the
    // command layer.
    bool askJpegSettings(JpegOptions& options) override;
    bool askYesNo(std::string_view text) override;
    bool refusesEdits() override;
    bool newMemoNodeWithText(std::string_view text) override;
    long long saveNodeAsFromView(MemoNode& node) override;
    bool newWebNode(std::string_view address) override;

    // NodeWindowHost.
    QWidget* hostWidget() override;
    MainWindowLink* windowLink() override;
    NodeViewOwner& mainViewOwner() override { return *this; }
    MemoFile* memoFile() const override;
    MemoNode* getCurMemoNode() const override;
    int UI2Model() override;
    void Model2UI() override;
    long long saveNodeAs(MemoNode& node) override;
    bool printNode(MemoNode& node, std::string& operation) override;
    bool hardCopy(QWidget& window) override;

  private:
    TFormMainBase0007& window_;
    TFrameMemoNode* frame_;
};

}  // namespace zel
