#pragma once
// A memo file of shown holders, and a main window stand-in that records what
// the holder frame asks of it.

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "model/MemoFile.h"
#include "views/HolderFrameHost.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoHolder.h"

namespace zel::test {

class ShownMemoFile : public MemoFile {
  public:
    std::unique_ptr<MemoHolder> newHolderObject_() override {
        return std::make_unique<MemoHolderUI>(this);
    }
};

// A holder appended to `file` with nodes named `names`; entries of `parents`
// (same length, or empty) give each node a UID "u<name>" and, when not
// empty, a ParentNodeID naming another node's UID.
MemoHolderUI& addHolder(MemoFile& file, const std::string& name,
                        const std::vector<std::string>& names,
                        const std::vector<std::string>& parents = {});
std::vector<std::string> namesInOrder(const MemoHolder& holder);
// Each node's name and the name of its tree parent ("-" at the top), in
// display order: "a:-", "b:a".
std::vector<std::string> treeShape(MemoHolderUI& holder);

class FakeHost : public HolderFrameHost {
  public:
    FakeHost();
    ~FakeHost() override;

    // Shows `holder` as the main window does and makes its first node current.
    void show(MemoHolderUI& holder);

    MemoFile* memoFile() const override { return file.get(); }
    MemoNode* getCurMemoNode() const override { return current; }
    void setCurMemoNode_(MemoNode* node) override;
    MemoHolder* changeHolder_(MemoHolder* holder) override;
    bool nowDoing() override { return busy; }
    bool isUIReadOnly() const override { return uiReadOnly; }
    void messageDoing_(std::string_view text) override { messages.emplace_back(text); }
    void startDoing_(std::string_view name) override { messages.emplace_back(name); }
    void doneDoing_(std::string_view text) override { messages.emplace_back(text); }
    int UI2Model() override { return 0; }
    void saveFieldsEditor(MemoNode&) override { editorCalls.push_back("save"); }
    void reloadFieldsEditor(MemoNode&) override { editorCalls.push_back("reload"); }
    void showNodeName(std::string_view name) override { shownName = name; }
    bool isWebBrowser(const QWidget*) const override { return false; }
    void messageBox(std::string_view text) override { boxes.emplace_back(text); }
    bool inputQuery(std::string_view, std::string_view, std::string& value) override;
    std::string saveFileName(std::string_view, std::string_view initial) override;
    // Records "name" or "name(argument)"; clones also their count.
    int runCommand(std::string_view name, std::string_view argument) override;
    bool hasCommand(std::string_view name) const override { return name != unbuiltCommand; }

    std::unique_ptr<ShownMemoFile> file;
    std::unique_ptr<TFrameMemoHolder> frame;
    MemoNode* current = nullptr;
    bool busy = false;
    bool uiReadOnly = false;
    std::vector<std::string> messages, boxes, editorCalls, commands;
    // The one command this host has not built.
    std::string unbuiltCommand = "UIRenameNode";
    std::vector<int> clones;
    std::string shownName;
    // Answers of input boxes in order; none left means "cancelled".
    std::deque<std::string> answers;
    std::string savePath, proposedSavePath;
};

}  // namespace zel::test
