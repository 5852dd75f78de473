#pragma once
// A main window stand-in for the file list and save-each windows: a memo
// file of plain holders, scripted answers, and a record of what was asked.

#include <gtest/gtest.h>

#include <QColor>
#include <QFont>
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "dialogs/ui/FileListHost.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel::test {

class FakeFileListHost : public FileListHost {
  public:
    ~FakeFileListHost() override {
        EXPECT_TRUE(inputs.empty()) << "scripted inputs left";
        EXPECT_TRUE(answers.empty()) << "scripted answers left";
    }

    MemoHolder& addHolder(const std::string& name, const std::vector<std::string>& nodes) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        for (const std::string& nodeName : nodes) holder->addNode_(holder->newNode_(), nodeName);
        holder->loaded = true;
        if (!current) current = holder;
        return *holder;
    }

    MemoFile* memoFile() const override { return const_cast<MemoFile*>(&file); }
    MemoHolder* getCurHolder() const override { return current; }
    bool nowDoing() override { return busy; }
    void startDoing_(std::string_view name) override {
        calls.push_back("start " + std::string(name));
    }
    void doneDoing_(std::string_view text) override {
        calls.push_back("done " + std::string(text));
    }
    void messageDoing_(std::string_view text) override {
        calls.push_back("message " + std::string(text));
    }
    bool isBreakRequested() override { return false; }
    bool checkUIReadOnly() override {
        if (readOnly) calls.push_back("refused");
        return readOnly;
    }
    bool checkHolderReadOnly() override { return false; }
    int UI2Model() override {
        calls.push_back("UI2Model");
        return 0;
    }
    void Model2UI() override { calls.push_back("Model2UI"); }
    MemoHolder* newHolder() override {
        MemoHolder* holder = file.createHolder_(-1);
        holder->loaded = true;
        holder->changed = true;
        calls.push_back("newHolder");
        return holder;
    }
    void holderNodesChanged(MemoHolder& holder) override {
        holder.nodes->keepOrder_();
        calls.push_back("sorted " + holder.getName_());
    }
    void showNode(MemoHolder& holder, MemoNode& node) override {
        current = &holder;
        holder.setCurrent_(&node);
        calls.push_back("show " + node.getName_());
    }
    void nodeFieldsChanged(MemoHolder& holder) override {
        holder.changed = true;
        calls.push_back("fields changed " + holder.getName_());
    }
    std::string inputBox(std::string_view caption, std::string_view prompt,
                         std::string_view initial) override {
        calls.push_back("input " + std::string(caption) + "/" + std::string(prompt));
        if (inputs.empty()) {
            ADD_FAILURE() << "unexpected input box " << caption;
            return std::string(initial);
        }
        std::string value = inputs.front();
        inputs.pop_front();
        return value.empty() ? std::string(initial) : value;
    }
    HostAnswer askYesNoCancel(std::string_view text) override {
        calls.push_back("ask " + std::string(text));
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question " << text;
            return HostAnswer::Cancel;
        }
        HostAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string directoryName(std::string_view, std::string_view start) override {
        calls.push_back("directory " + std::string(start));
        std::string value = inputs.empty() ? std::string() : inputs.front();
        if (!inputs.empty()) inputs.pop_front();
        return value;
    }
    QFont windowFont() const override { return QFont(); }
    QColor panelColour() const override { return Qt::lightGray; }

    bool called(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    MemoFile file;
    MemoHolder* current = nullptr;
    bool busy = false;
    bool readOnly = false;
    // Input boxes and folder choosers answer these in order ("" cancels).
    std::deque<std::string> inputs;
    std::deque<HostAnswer> answers;
    std::vector<std::string> calls;
};

}  // namespace zel::test
