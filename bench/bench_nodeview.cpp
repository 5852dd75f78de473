// The node view with a memo of 5 MB in 100,000 lines: showing it (Model2UI)
// and writing it back after one line was edited (UI2Model). The program
// that links this file makes the QApplication.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <memory>
#include <string>

#include "model/MemoNode.h"
#include "object/Agents.h"
#include "text/Sjis.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoNode.h"

namespace zel {
namespace {

constexpr int kLines = 100000;
constexpr std::size_t kLineBytes = 50;

// Lines of about 50 bytes, ASCII and Japanese mixed, as notes are.
std::vector<std::string> bigMemo() {
    const std::string japanese = utf8ToSjis("日本語のメモ、");
    std::vector<std::string> lines;
    lines.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
        std::string line = "line " + std::to_string(i) + " ";
        while (line.size() + japanese.size() < kLineBytes)
            line += (i % 3 == 0) ? japanese : "text ";
        lines.push_back(std::move(line));
    }
    return lines;
}

class Owner : public NodeViewOwner {
  public:
    void nodeViewMessage(std::string_view) override {}
    void mainWindowMessage(std::string_view) override {}
    void nodeViewBox(BoxTone, std::string_view) override {}
    AgentAPLAbs* nodeViewAgent() override { return &agent; }
    bool isMainWindow() const override { return true; }
    std::string readerName() const override { return "\"bench\""; }
    std::string dateFormat() const override { return {}; }
    bool isBusy() override { return false; }
    std::string programDirectory() const override { return {}; }
    bool pasteImageAsNewNode(const QImage&) override { return false; }
    bool askNodeName(MemoNode&, std::string&) override { return false; }
    bool isNodeAlive(const MemoNode*) const override { return true; }

    AgentAPLZEL agent;
};

// A holder with the big node, and a node view on screen (offscreen).
struct Stage {
    MemoHolderUI holder;
    MemoNode* node;
    Owner owner;
    TFrameMemoNode view;
    Stage() {
        auto made = holder.newNode_();
        made->memo = bigMemo();
        node = made.get();
        holder.addNode_(std::move(made), "big");
        view.setOwner(&owner);
        view.setNode(node);
        view.resize(800, 600);
        view.show();
        QApplication::processEvents();
    }
    void editMiddleLine() {
        QTextCursor cursor(view.MemoNode0->document()->findBlockByNumber(kLines / 2));
        cursor.insertText(QStringLiteral("edited "));
    }
};

void BM_Model2UI(benchmark::State& state) {
    Stage stage;
    for (auto _ : state) {
        stage.view.Model2UI();
        QApplication::processEvents();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kLines * kLineBytes);
}

void BM_UI2ModelAfterOneEdit(benchmark::State& state) {
    Stage stage;
    stage.view.Model2UI();
    for (auto _ : state) {
        state.PauseTiming();
        stage.editMiddleLine();
        state.ResumeTiming();
        stage.view.UI2Model();
    }
}

BENCHMARK(BM_Model2UI)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_UI2ModelAfterOneEdit)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace zel
