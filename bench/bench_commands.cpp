// The command layer at 100,000 nodes in the real main window (offscreen):
// marking, deleting, moving and copying 50,000 marked nodes, sorting and
// reversing the holder; `LC_ALL=C sort` of the same names runs beside them.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/Prompter.h"
#include "app/scripting/BatchPrompter.h"
#include "app/window/TFormMainRegular14.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "views/MemoNodeUI.h"

namespace zel {
namespace {

constexpr int kNodes = 100000;

// Answers Yes to every question and picks the holder "B"; anything else is
// cancelled as in a batch run.
class BenchPrompter : public BatchPrompter {
  public:
    BenchPrompter() : BatchPrompter({}) {}
    Answer ask(Tone, std::string_view, unsigned) override { return Answer::Yes; }
    HolderChoice selectHolder(const std::vector<std::string>&, int) override {
        return {HolderChoice::Kind::Holder, "B"};
    }
};

// The pseudo-random name of node `i`, the same in every run.
std::string nodeName(int i) {
    unsigned value = static_cast<unsigned>(i) * 2654435761u;
    return "node " + std::to_string(value % 1000003u) + " " + std::to_string(i);
}

struct Stage {
    TFormMainRegular14 window;
    Stage() {
        window.setPrompter(std::make_unique<BenchPrompter>());
        window.resize(800, 600);
        window.show();
        window.newMemoFile_();
    }
    // A fresh holder "A" of `count` nodes, every `markEvery`-th marked
    // (none for 0), shown; a holder "B" to move to.
    MemoHolder* fill(int count, int markEvery) {
        window.newMemoFile_();
        MemoHolder* b = window.getCurHolder();
        window.aFile->putNameChild_as_(b, "B");
        MemoHolder* a = window.newHolder_(0);
        window.aFile->putNameChild_as_(a, "A");
        for (int i = 0; i < count; ++i) {
            auto node = a->newNode_();
            if (markEvery > 0 && i % markEvery == 0) node->putField_("flagMarked", "\"true\"");
            a->addNode_(std::move(node), nodeName(i));
        }
        a->setCurrent_(a->at_(1));
        window.changeHolder_(a);
        QApplication::processEvents();
        return a;
    }
};

// The window is made on first use and must be gone before the QApplication,
// so main closes it rather than the exit-time destructors.
std::unique_ptr<Stage>& stageSlot() {
    static std::unique_ptr<Stage> slot;
    return slot;
}

Stage& stage() {
    if (!stageSlot()) stageSlot() = std::make_unique<Stage>();
    return *stageSlot();
}

void markAll(benchmark::State& state, int (TFormMainScript::*command)()) {
    stage().fill(kNodes, 0);
    for (auto _ : state) benchmark::DoNotOptimize((stage().window.*command)());
}
BENCHMARK_CAPTURE(markAll, UIMarkAll, &TFormMainScript::UIMarkAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(markAll, UIUnMarkAll, &TFormMainScript::UIUnMarkAll)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(markAll, UIReverseMarks, &TFormMainScript::UIReverseMarks)
    ->Unit(benchmark::kMillisecond);

// Each run starts from a fresh holder with every other node marked.
void marked(benchmark::State& state, int (TFormMainScript::*command)()) {
    for (auto _ : state) {
        state.PauseTiming();
        stage().fill(kNodes, 2);
        state.ResumeTiming();
        benchmark::DoNotOptimize((stage().window.*command)());
        QApplication::processEvents();
    }
}
BENCHMARK_CAPTURE(marked, UIDeleteMarkNodes, &TFormMainScript::UIDeleteMarkNodes)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(marked, UIMoveMarksTo, &TFormMainScript::UIMoveMarksTo)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);
BENCHMARK_CAPTURE(marked, UICopyMarksTo, &TFormMainScript::UICopyMarksTo)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

void order(benchmark::State& state, int (TFormMainScript::*command)()) {
    for (auto _ : state) {
        state.PauseTiming();
        stage().fill(kNodes, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize((stage().window.*command)());
        QApplication::processEvents();
    }
}
BENCHMARK_CAPTURE(order, UISortMemoHolder, &TFormMainScript::UISortMemoHolder)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(order, UIReverseMemoHolder, &TFormMainScript::UIReverseMemoHolder)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The peer: the same 100,000 names sorted by `LC_ALL=C sort`.
void peerSort(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zel-bench-sort";
    std::filesystem::create_directories(folder);
    const std::string names = (folder / "names.txt").string();
    {
        std::ofstream out(names);
        for (int i = 0; i < kNodes; ++i) out << nodeName(i) << "\n";
    }
    const std::string command = "LC_ALL=C sort " + names + " > " + (folder / "out.txt").string();
    for (auto _ : state) benchmark::DoNotOptimize(std::system(command.c_str()));
    std::filesystem::remove_all(folder);
}
BENCHMARK(peerSort)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    zel::stageSlot().reset();
    return 0;
}
