#pragma once
// A main window stand-in for the editing dialogs: a memo file of plain
// holders and a record of everything the dialogs ask.

#include <QApplication>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/ui/DialogHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel::test {

class FakeDialogHost : public DialogHost {
  public:
    FakeDialogHost() { file.putName_as_("demo"); }

    // A loaded holder of nodes, each with "key=value" field lines.
    MemoHolder& addHolder(
        const std::string& name,
        const std::vector<std::pair<std::string, std::vector<std::string>>>& nodes,
        bool loaded = true) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        for (const auto& [nodeName, fields] : nodes) {
            auto node = holder->newNode_();
            for (const std::string& line : fields) node->fields.append(line);
            holder->addNode_(std::move(node), nodeName);
        }
        holder->loaded = loaded;
        if (!currentHolder) {
            currentHolder = holder;
            currentNode = holder->first_();
        }
        return *holder;
    }

    MemoFile* memoFile() const override { return const_cast<MemoFile*>(&file); }
    MemoHolder* getCurHolder() const override { return currentHolder; }
    MemoNode* getCurMemoNode() const override { return currentNode; }
    MemoHolder* changeHolder_(MemoHolder* holder) override {
        calls.push_back("changeHolder " + holder->getName_());
        currentHolder = holder;
        return holder;
    }
    void setCurMemoNode_(MemoNode* node) override {
        calls.push_back("current " + node->getName_());
        currentNode = node;
    }

    bool nowDoing() override { return busy; }
    void startDoing_(std::string_view name) override {
        calls.push_back("start " + std::string(name));
    }
    void doneDoing_(std::string_view text) override {
        calls.push_back("done " + std::string(text));
    }
    bool isBreakRequested() override {
        QApplication::processEvents();
        return false;
    }
    void messageDoing_(std::string_view text) override { mainStatus = text; }

    int UI2Model() override {
        calls.emplace_back("UI2Model");
        return 0;
    }
    void Model2UI() override { calls.emplace_back("Model2UI"); }
    void saveFieldsEditor(MemoNode& node) override {
        calls.push_back("saveFields " + node.getName_());
    }
    void reloadFieldsEditor(MemoNode& node) override {
        calls.push_back("loadFields " + node.getName_());
    }
    void loadHolder_(MemoHolder& holder) override {
        calls.push_back("load " + holder.getName_());
        auto node = holder.newNode_();
        node->fields.append("Date=\"loaded\"");
        holder.addNode_(std::move(node), "fromFile");
        holder.loaded = true;
    }
    void holderSettingsChanged(MemoHolder& holder) override {
        calls.push_back("settings " + holder.getName_());
    }

    MemoNode* newMemoNode() override {
        if (!currentHolder || refuseNewNode) return nullptr;
        currentNode = currentHolder->makeNode_();
        return currentNode;
    }
    void insertIntoNodeEditor(std::string_view text) override { inserted.emplace_back(text); }
    bool editSelectedNodes(const std::vector<std::pair<std::string, NodeRef>>& nodes) override {
        edited = nodes;
        return editorAvailable;
    }

    void switchUIReadOnly() override { calls.emplace_back("switchReadOnly"); }
    void refreshReadOnlyIndicator() override { calls.emplace_back("readOnlyIndicator"); }
    std::string userName() const override { return "\"tester\""; }
    std::string dateFormat() const override { return format; }

    std::string getTempDirectory() const override { return tempDirectory; }
    void setTempDirectory(std::string_view directory) override { tempDirectory = directory; }
    int dropMode() const override { return drop; }
    void setDropMode(int mode) override { drop = mode; }
    int getAutoSaveTime() const override { return autoSave; }
    void putAutoSaveTime_(int seconds) override { autoSave = seconds; }
    QFont UIFont() override {
        calls.emplace_back("UIFont");
        return chosenFont;
    }
    QFont windowFont() const override { return QApplication::font(); }
    QColor panelColour() const override { return Qt::lightGray; }

    void messageBox(DialogBox kind, std::string_view text) override {
        static const char* kKinds[] = {"information", "confirmation", "warning"};
        boxes.push_back(std::string(kKinds[static_cast<int>(kind)]) + ": " + std::string(text));
    }
    std::optional<QColor> chooseColor(const QColor&) override {
        calls.emplace_back("chooseColor");
        return colour;
    }
    std::string openFileName(std::string_view, std::string_view initial) override {
        calls.push_back("openFile " + std::string(initial));
        return chosenPath;
    }
    std::string directoryName(std::string_view, std::string_view start) override {
        calls.push_back("directory " + std::string(start));
        return chosenPath;
    }
    bool explore(std::string_view folder) override {
        calls.push_back("explore " + std::string(folder));
        return true;
    }

    MemoFile file;
    MemoHolder* currentHolder = nullptr;
    MemoNode* currentNode = nullptr;
    bool busy = false, refuseNewNode = false, editorAvailable = true;
    std::string mainStatus, format, tempDirectory = "/tmp/", chosenPath;
    int drop = 0, autoSave = 0;
    std::optional<QColor> colour;
    QFont chosenFont;
    std::vector<std::string> calls, boxes, inserted;
    std::vector<std::pair<std::string, NodeRef>> edited;
};

}  // namespace zel::test
