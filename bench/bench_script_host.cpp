// Scripts driving the window on a 100,000-node holder: walking every node
// with UIChangeCurrentNodeNext, 100,000 node lookups by name, 100,000 Print
// lines into the log, and a script node whose 1,000,000 PrintBuf lines
// become its child. No peer: the targets are absolute (10 s, 1 s, 2 s, 3 s).

#include <benchmark/benchmark.h>
#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/commands/CommandTable.h"
#include "app/scripting/ScriptHost.h"
#include "app/window/TFormMainRegular14.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace zel {
namespace {

constexpr int kNodes = 100000;

// A holder file of `kNodes` small nodes, written once.
const std::string& holderFile() {
    static const std::string path = [] {
        const auto folder = std::filesystem::temp_directory_path() / "zel-bench-script-host";
        std::filesystem::create_directories(folder);
        const std::string file = (folder / "big.mxh").string();
        std::ofstream out(file, std::ios::binary);
        out << "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"big\">\r\n";
        char name[16];
        for (int i = 0; i < kNodes; ++i) {
            std::snprintf(name, sizeof name, "n%06d", i);
            out << "  <Record name=\"" << name << "\">\r\n    <Field UID=\"&quot;u" << i
                << "&quot;\" />\r\nline " << i << "<BR/>\r\n  </Record>\r\n";
        }
        out << "</Holder>\r\n";
        return file;
    }();
    return path;
}

struct Window {
    TFormMainRegular14 window;
    Window() {
        window.newMemoFile_();
        window._open_(holderFile());
    }
    void run(benchmark::State& state, const std::string& script) {
        const TPPARunResult result = window.scriptHost().runInPP1(script);
        if (!result.ok()) state.SkipWithError(result.message.c_str());
    }
};

void BM_WalkEveryNode(benchmark::State& state) {
    Window w;
    for (auto _ : state)
        w.run(state,
              "var n: integer; begin UIChangeCurrentNodeFirst; "
              "while UIChangeCurrentNodeNext >= 0 do n := n + 1 end.");
}

void BM_LookUpEveryNode(benchmark::State& state) {
    Window w;
    for (auto _ : state)
        w.run(state,
              "var i, n: integer; begin for i := 0 to 99999 do "
              "if UIMNGetField3('', 'n' + Copy(IntToStr(1000000 + i), 2, 6), 'UID') <> '' "
              "then n := n + 1 end.");
}

void BM_PrintIntoTheLog(benchmark::State& state) {
    Window w;
    for (auto _ : state)
        w.run(state,
              "var i: integer; begin for i := 1 to 100000 do Print('line ' + IntToStr(i)) end.");
}

void BM_ScriptNodeWithAMillionLines(benchmark::State& state) {
    Window w;
    // A holder opened on its own is read-only; this one takes the child.
    w.window.getCurHolder()->setReadOnly_(false);
    MemoNode* node = w.window.getCurMemoNode();
    node->putField_("Filename", "\"run.ppa\"");
    node->memo = {"var i: integer; begin for i := 1 to 1000000 do PrintBuf('x') end."};
    for (auto _ : state) {
        w.window.setCurMemoNode_(node);
        const int made = runCommand(w.window, "UINewChildExecuted");
        if (made != 0) state.SkipWithError(("no child: " + w.window.statusMessage()).c_str());
    }
}

BENCHMARK(BM_WalkEveryNode)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LookUpEveryNode)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PrintIntoTheLog)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScriptNodeWithAMillionLines)->Unit(benchmark::kMillisecond)->Iterations(1);

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
