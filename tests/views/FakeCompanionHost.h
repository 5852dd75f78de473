#pragma once
// A main window stand-in for the companion windows: a memo file of plain
// holders and a record of everything the windows ask of their share of the
// host. Each family's fake derives from FakeCompanionHost<ItsInterface>.

#include <QApplication>
#include <string>
#include <string_view>
#include <vector>

#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/CompanionHost.h"

namespace zel::test {

template <class Host>
class FakeCompanionHost : public Host {
  public:
    FakeCompanionHost() { file.putName_as_("demo"); }

    // A holder appended to the memo file; the first one made is current,
    // with its first node.
    MemoHolder& newHolder(const std::string& name, bool loaded = true) {
        MemoHolder* holder = file.createHolder_(-1);
        holder->putName_as_(name);
        holder->loaded = loaded;
        return *holder;
    }
    MemoHolder& currentIfFirst(MemoHolder& holder) {
        if (!currentHolder) {
            currentHolder = &holder;
            currentNode = holder.first_();
        }
        return holder;
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
        return breakNow;
    }
    void messageDoing_(std::string_view text) override { mainStatus = text; }

    void UI2Model() override { calls.emplace_back("UI2Model"); }
    void Model2UI() override { calls.emplace_back("Model2UI"); }
    void loadHolder_(MemoHolder& holder) override {
        calls.push_back("load " + holder.getName_());
        holder.loaded = true;
    }
    MemoNode* newMemoNode() override {
        if (!currentHolder || refuseNewNode) return nullptr;
        currentNode = currentHolder->makeNode_();
        return currentNode;
    }

    void messageBox(CompanionBox kind, std::string_view text) override {
        static const char* kKinds[] = {"information", "confirmation", "warning", "error"};
        boxes.push_back(std::string(kKinds[static_cast<int>(kind)]) + ": " + std::string(text));
    }
    QFont windowFont() const override { return QApplication::font(); }
    QColor panelColour() const override { return Qt::lightGray; }

    MemoFile file;
    MemoHolder* currentHolder = nullptr;
    MemoNode* currentNode = nullptr;
    bool busy = false, breakNow = false, refuseNewNode = false;
    std::string mainStatus;
    std::vector<std::string> calls, boxes;
};

}  // namespace zel::test
