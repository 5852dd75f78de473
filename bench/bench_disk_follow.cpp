// The window following its memo file: a shown holder of 10,000 nodes without
// unsaved changes whose file another program rewrote (1 % of the nodes
// changed), from the look at the files to the list showing the result: the
// file read, the holder reloaded in place, its base kept, the view restored.
// Compressing the kept base waits until the window is idle again; its time
// is the counter idle_ms.
// The other program's writes alternate between two versions, so every look
// finds a change. Target: under 0.2 s.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <filesystem>
#include <memory>
#include <string>

#include "HolderGenerator.h"
#include "app/scripting/BatchPrompter.h"
#include "app/window/DiskFollower.h"
#include "app/window/TFormMainRegular14.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"

namespace zel {
namespace {

constexpr std::size_t kNodes = 10000;

// The holder file's bytes with every hundredth node's memo changed.
std::string editedOnePercent(const std::string& file) {
    MemoFile other;
    MemoHolder* holder = other.createHolder_(-1);
    std::string bytes;
    if (readHolderFile_(*holder, file) != 0) return bytes;
    for (int i = 0; i < holder->count_(); i += 100)
        holder->at_(i)->memo = {"changed on the laptop " + std::to_string(i)};
    holderFileBytes_(*holder, file, bytes);
    return bytes;
}

void BM_ReloadShownHolderChangedOnDisk(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "zel-bench-disk-follow";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    if (bench::writeBenchMemoSet(folder.string(), 1, kNodes) == 0) {
        state.SkipWithError("could not write the memo file");
        return;
    }
    const std::string holderFile = (folder / "h01.mxh").string();
    std::string versions[2];
    if (!readFile(holderFile, versions[0])) state.SkipWithError("could not read the holder");
    versions[1] = editedOnePercent(holderFile);

    TFormMainRegular14 window;
    window.setPrompter(std::make_unique<BatchPrompter>(std::vector<std::string>{}));
    window.resize(800, 600);
    window.show();
    window.newMemoFile_();
    window.openMemoFile_((folder / "bench.mxa").string());
    QApplication::processEvents();
    MemoHolder* holder = window.getCurHolder();
    int next = 1;
    double idleMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        writeFileSafely(holderFile, versions[next]);
        next = 1 - next;
        state.ResumeTiming();
        window.diskFollower().takeChanges();
        window.repaint();
        state.PauseTiming();
        // The base is compressed once the window is idle again: counted apart.
        QElapsedTimer idle;
        idle.start();
        QApplication::processEvents();
        idleMs += static_cast<double>(idle.nsecsElapsed()) / 1e6;
        if (holder->changed || holder->count_() != static_cast<int>(kNodes) ||
            window.statusMessage().find("Reloaded") == std::string::npos)
            state.SkipWithError("not reloaded");
        state.ResumeTiming();
    }
    state.counters["idle_ms"] = idleMs / static_cast<double>(state.iterations());
    state.counters["file_MB"] = static_cast<double>(versions[0].size()) / 1e6;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ReloadShownHolderChangedOnDisk)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
}  // namespace zel

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
