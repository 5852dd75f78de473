#pragma once
// A node view in a memo file of shown holders, owned by a stand-in for the
// main window that records messages and boxes; the same stand-in serves as
// the host of node windows.

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ViewsTestSupport.h"
#include "formats/ImageCodecs.h"
#include "model/MemoFile.h"
#include "object/Agents.h"
#include "views/NodeViewOwner.h"
#include "views/TFrameMemoNode.h"

namespace zel::test {

class FakeMainWindow : public NodeViewOwner, public NodeWindowHost, public MainWindowLink {
  public:
    FakeMainWindow();
    ~FakeMainWindow() override;

    // A holder "h" whose nodes carry `names`; the first one is shown.
    MemoHolderUI& addHolder(const std::vector<std::string>& names);
    MemoNode& node(const std::string& name);
    // Makes `node` current: the view is written back into the old node and
    // shows the new one, as the main window's setCurMemoNode_ does.
    void select(MemoNode& node);

    // NodeViewOwner.
    void nodeViewMessage(std::string_view text) override { messages.emplace_back(text); }
    void mainWindowMessage(std::string_view text) override { messages.emplace_back(text); }
    void nodeViewBox(BoxTone, std::string_view text) override { boxes.emplace_back(text); }
    AgentAPLAbs* nodeViewAgent() override { return &agent; }
    bool isMainWindow() const override { return true; }
    std::string readerName() const override { return "\"tester\""; }
    std::string dateFormat() const override { return format; }
    bool isBusy() override { return false; }
    std::string programDirectory() const override { return "/opt/zel/"; }
    bool pasteImageAsNewNode(const QImage&) override { return false; }
    bool askNodeName(MemoNode&, std::string& name) override;
    bool isNodeAlive(const MemoNode*) const override { return true; }
    bool askJpegSettings(JpegOptions& options) override;
    bool askYesNo(std::string_view text) override;
    bool refusesEdits() override;
    bool newMemoNodeWithText(std::string_view text) override {
        newTexts.emplace_back(text);
        return true;
    }
    long long saveNodeAsFromView(MemoNode&) override { return ++savedAs; }
    bool newWebNode(std::string_view address) override {
        webNodes.emplace_back(address);
        return true;
    }

    // NodeWindowHost.
    QWidget* hostWidget() override { return &widget; }
    MainWindowLink* windowLink() override { return this; }
    NodeViewOwner& mainViewOwner() override { return *this; }
    MemoFile* memoFile() const override { return file.get(); }
    MemoNode* getCurMemoNode() const override { return current; }
    int UI2Model() override;
    void Model2UI() override;
    long long saveNodeAs(MemoNode&) override { return 0; }
    bool printNode(MemoNode&, std::string&) override { return false; }
    bool hardCopy(QWidget&) override { return false; }

    // MainWindowLink.
    bool isBreakRequested() const override { return onBreakQuestion && onBreakQuestion(); }
    void showStatus(std::string_view text) override { messages.emplace_back(text); }
    bool internetEnabled() const override { return internet; }

    bool contains(const std::string& part) const;

    std::unique_ptr<ShownMemoFile> file;
    QWidget widget;
    TFrameMemoNode* view;
    AgentAPLZEL agent;
    MemoNode* current = nullptr;
    bool internet = true;
    std::string format = "\"yyyymmdd\"";
    // The next answer of the name dialog; none means "cancelled".
    std::vector<std::string> names;
    // The next answers of the JPEG settings (none: cancelled) and of yes/no
    // questions (none: No); the questions asked.
    std::vector<JpegOptions> jpegAnswers;
    std::vector<bool> yesNoAnswers;
    std::vector<std::string> questions;
    // The window's read-only switch.
    bool uiReadOnly = false;
    // What the body views asked the window to make or save.
    std::vector<std::string> newTexts, webNodes;
    int savedAs = 0;
    // Asked whenever model code asks for a break (window events would pass).
    std::function<bool()> onBreakQuestion;
    std::vector<std::string> messages, boxes;
};

// Replaces the editor's whole text as typing would (undoable, marks it changed).
void typeInto(QPlainTextEdit* editor, const QString& text);
// Selects the characters from `start` to `end` of the editor.
void selectRange(QPlainTextEdit* editor, int start, int end);
QString u(const char* utf8);
std::string sjis(const char* utf8);

}  // namespace zel::test
