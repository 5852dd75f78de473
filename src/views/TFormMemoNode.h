#pragma once
// Node windows: one memo node shown apart from the main window. An editable
// window becomes the node's own window (the main window's node view steps
// aside while the node is current); the read-only variant only shows it.

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStatusBar>
#include <string>
#include <string_view>

#include "object/Agents.h"
#include "views/NodeViewOwner.h"
#include "views/TFrameMemoNode.h"

namespace zel {

class MemoNode;

class TFormMemoNode : public QMainWindow, public NodeViewOwner, public NodeWindowLink {
    Q_OBJECT
  public:
    // `host` is the main window (none for a window on its own).
    explicit TFormMemoNode(NodeWindowHost* host, QWidget* parent = nullptr);
    ~TFormMemoNode() override;

    // "Other Window" (`readOnly` false) and "Read Window": the main window's
    // current node in a new window over it. An editable window becomes the
    // node's own window; a node that already has one gets it to the front.
    static TFormMemoNode* open(NodeWindowHost& host, MemoNode& node, bool readOnly);
    // The node's own window, when it has one.
    static TFormMemoNode* ownWindowOf(const MemoNode* node);

    TFrameMemoNode* frame() const { return FrameMemoNode1; }
    MemoNode* node() const { return FrameMemoNode1->node(); }
    bool isOwnWindow() const;
    void status(std::string_view text);
    // The "UIReadOnly" box and the view's read-only state.
    void setReadOnly(bool readOnly);

    // Menu and button handlers.
    long long SaveAs();
    void HardCopy();
    void Print();

    // NodeViewOwner.
    void nodeViewMessage(std::string_view text) override { status(text); }
    void mainWindowMessage(std::string_view text) override;
    void nodeViewBox(BoxTone tone, std::string_view text) override;
    AgentAPLAbs* nodeViewAgent() override { return &agent_; }
    bool isMainWindow() const override { return false; }
    std::string readerName() const override { return "\"noname\""; }
    std::string dateFormat() const override { return {}; }
    bool isBusy() override;
    std::string programDirectory() const override;
    bool pasteImageAsNewNode(const QImage& image) override;
    bool askNodeName(MemoNode& node, std::string& name) override;
    bool isNodeAlive(const MemoNode* node) const override;
    // The body views' questions: the main window's, else this window's own.
    bool askJpegSettings(JpegOptions& options) override;
    bool askYesNo(std::string_view text) override;
    bool newMemoNodeWithText(std::string_view text) override;
    bool newWebNode(std::string_view address) override;

    // NodeWindowLink.
    void showStatus(std::string_view text) override { status(text); }
    MainWindowLink* mainWindowLink() const override;

    QWidget* PanelTop;
    QPushButton* ButtonClose;
    QPushButton* ButtonSaveAs;
    QLabel* StaticText_Holder;
    QCheckBox* CheckBox_UIReadOnly;
    QStatusBar* StatusBar1;
    QLabel* statusPanel;
    TFrameMemoNode* FrameMemoNode1;
    QAction* actionComment;
    QAction* actionField;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildTopPanel();
    void buildMenus();

    NodeWindowHost* host_;
    AgentAPLMemoNode agent_;
};

// The read-only node window: nothing typed in it goes back into the node.
class TFormMemoNodeRO : public TFormMemoNode {
    Q_OBJECT
  public:
    explicit TFormMemoNodeRO(NodeWindowHost* host, QWidget* parent = nullptr);
};

}  // namespace zel
