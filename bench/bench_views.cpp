// The holder view at 100,000 nodes: first show in each list mode, switches
// between modes, appending and removing one node, and scrolling.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <memory>
#include <string>

#include "model/MemoFile.h"
#include "views/MemoHolderUI.h"
#include "views/TFrameMemoHolder.h"

namespace zel {
namespace {

constexpr int kNodes = 100000;
// One node in this many is a top-level parent; the nodes after it are its
// children, stored parents first as the tree writes them.
constexpr int kFamily = 5;

std::unique_ptr<MemoHolderUI> makeHolder(std::string_view mode, int count = kNodes) {
    auto holder = std::make_unique<MemoHolderUI>();
    holder->putField_("ModeNodesMngr", "\"" + std::string(mode) + "\"");
    std::string parentUID;
    for (int i = 0; i < count; ++i) {
        auto node = holder->newNode_();
        const std::string uid = "\"u" + std::to_string(i) + "\"";
        node->putField_("UID", uid);
        if (i % kFamily == 0)
            parentUID = uid;
        else
            node->putField_("ParentNodeID", parentUID);
        holder->addNode_(std::move(node), "node " + std::to_string(i));
    }
    return holder;
}

// A frame on screen (offscreen), as the main window holds it.
struct Stage {
    TFrameMemoHolder frame;
    Stage() {
        frame.resize(800, 600);
        frame.show();
    }
    void settle() { QApplication::processEvents(); }
};

void firstShow(benchmark::State& state, std::string_view mode) {
    Stage stage;
    for (auto _ : state) {
        state.PauseTiming();
        auto holder = makeHolder(mode);
        state.ResumeTiming();
        stage.frame.showHolder(holder.get());
        stage.settle();
        state.PauseTiming();
        holder.reset();
        state.ResumeTiming();
    }
}

void BM_FirstShowCheckList(benchmark::State& state) {
    firstShow(state, kModeCheckList);
}
void BM_FirstShowTree(benchmark::State& state) {
    firstShow(state, kModeTree);
}
void BM_FirstShowList(benchmark::State& state) {
    firstShow(state, kModeList);
}

void BM_SwitchModes(benchmark::State& state) {
    Stage stage;
    auto holder = makeHolder(kModeCheckList);
    stage.frame.showHolder(holder.get());
    const int target = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        stage.frame.switchToCheckList();
        stage.settle();
        state.ResumeTiming();
        if (target == 1) stage.frame.switchToTree();
        if (target == 2) stage.frame.switchToList();
        stage.settle();
    }
    state.SetLabel(target == 1 ? "check list -> tree" : "check list -> list");
}

// One node appended to a holder of range(0) nodes, the control told; with
// range(1) the control also lays itself out and repaints.
void appendOne(benchmark::State& state, std::string_view mode) {
    Stage stage;
    auto holder = makeHolder(mode, static_cast<int>(state.range(0)));
    const bool repaint = state.range(1) != 0;
    stage.frame.showHolder(holder.get());
    holder->setCurrent_(holder->last_());
    stage.settle();
    for (auto _ : state) {
        holder->addNode_(holder->newNode_(), "added");
        if (repaint) stage.settle();
        state.PauseTiming();
        holder->removeNode_(holder->last_());
        holder->setCurrent_(holder->last_());
        stage.settle();
        state.ResumeTiming();
    }
}

void BM_AppendCheckList(benchmark::State& state) {
    appendOne(state, kModeCheckList);
}
void BM_AppendTree(benchmark::State& state) {
    appendOne(state, kModeTree);
}
void BM_AppendList(benchmark::State& state) {
    appendOne(state, kModeList);
}

void BM_RemoveMiddle(benchmark::State& state) {
    Stage stage;
    auto holder = makeHolder(kModeCheckList);
    stage.frame.showHolder(holder.get());
    for (auto _ : state) {
        auto taken = holder->removeNode_(holder->at_(kNodes / 2));
        stage.settle();
        state.PauseTiming();
        holder->insertNode_(std::move(taken), "back", kNodes / 2);
        state.ResumeTiming();
    }
}

void BM_ScrollToEnd(benchmark::State& state) {
    Stage stage;
    auto holder = makeHolder(kModeTree);
    stage.frame.showHolder(holder.get());
    for (auto _ : state) {
        holder->setCurrent_(holder->last_());
        stage.settle();
        holder->setCurrent_(holder->first_());
        stage.settle();
    }
}

BENCHMARK(BM_FirstShowCheckList)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FirstShowTree)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FirstShowList)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SwitchModes)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);
// Each appended node is taken out again between iterations, which costs far
// more than the append: the iterations are kept few.
BENCHMARK(BM_AppendCheckList)
    ->ArgsProduct({{10000, kNodes}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);
BENCHMARK(BM_AppendTree)
    ->ArgsProduct({{10000, kNodes}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);
BENCHMARK(BM_AppendList)
    ->ArgsProduct({{10000, kNodes}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);
BENCHMARK(BM_RemoveMiddle)->Unit(benchmark::kMicrosecond)->Iterations(20);
BENCHMARK(BM_ScrollToEnd)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
