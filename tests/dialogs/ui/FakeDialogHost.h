#pragma once
// A main window stand-in for the editing dialogs: a memo file of plain
// holders and a record of everything the dialogs ask.

#include <optional>
#include <string>
#include <vector>

#include "dialogs/ui/DialogHost.h"
#include "views/FakeCompanionHost.h"

namespace zel::test {

class FakeDialogHost : public FakeCompanionHost<DialogHost> {
  public:
    // A holder of nodes, each with "key=value" field lines.
    MemoHolder& addHolder(
        const std::string& name,
        const std::vector<std::pair<std::string, std::vector<std::string>>>& nodes,
        bool loaded = true) {
        MemoHolder& holder = newHolder(name, loaded);
        for (const auto& [nodeName, fields] : nodes) {
            auto node = holder.newNode_();
            for (const std::string& line : fields) node->fields.append(line);
            holder.addNode_(std::move(node), nodeName);
        }
        return currentIfFirst(holder);
    }

    // A holder read "from its file" gets one dated node.
    void loadHolder_(MemoHolder& holder) override {
        auto node = holder.newNode_();
        node->fields.append("Date=\"loaded\"");
        holder.addNode_(std::move(node), "fromFile");
        FakeCompanionHost::loadHolder_(holder);
    }
    void saveFieldsEditor(MemoNode& node) override {
        calls.push_back("saveFields " + node.getName_());
    }
    void reloadFieldsEditor(MemoNode& node) override {
        calls.push_back("loadFields " + node.getName_());
    }
    void holderSettingsChanged(MemoHolder& holder) override {
        calls.push_back("settings " + holder.getName_());
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

    bool editorAvailable = true;
    std::string format, tempDirectory = "/tmp/", chosenPath;
    int drop = 0, autoSave = 0;
    std::optional<QColor> colour;
    QFont chosenFont;
    std::vector<std::string> inserted;
    std::vector<std::pair<std::string, NodeRef>> edited;
};

}  // namespace zel::test
