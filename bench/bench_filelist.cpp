// The file list window and Save Each, beside their peers in the same run.
//
// ExpandTree/N: "Expand Sub Dir" dropped on a folder tree of N files (100
// folders, a link back to the top in every tenth folder), the lines kept as
// the window keeps them; the peer PeerFind/N is `find DIR -type f | wc -l`
// on the same tree. Both are wall-clock times.
// ExpandTreeToNodes/10000: the same drop, then Make Nodes into a new holder.
// MakeNodes/100000: Make Nodes from 100,000 lines with the default template
// into a new holder; MakeNodesSorted/100000 into a sorted holder that holds
// a current node.
// SaveEach/N: Save Each of N small text nodes into an empty folder (each file
// replaced safely, the run's files synced together); the peer PeerCopySync/N
// is `cp` of the same N files into an empty folder followed by one `sync`.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/FileListEdit.h"
#include "dialogs/FileListNodes.h"
#include "dialogs/SaveEach.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 100;

class Scratch {
  public:
    static Scratch& get() {
        static Scratch scratch;
        return scratch;
    }
    // A tree of `files` files, made once per size.
    const fs::path& tree(int files) {
        auto found = trees_.find(files);
        if (found != trees_.end()) return found->second;
        const fs::path top = root_ / ("tree" + std::to_string(files));
        for (int f = 0; f < kFolders; ++f) {
            const fs::path folder =
                top / ("d" + std::to_string(f / 10)) / ("e" + std::to_string(f));
            fs::create_directories(folder);
            if (f % 10 == 0) fs::create_directory_symlink(top, folder / "loop");
            for (int i = f; i < files; i += kFolders)
                std::ofstream(folder / ("file" + std::to_string(i) + ".txt")) << i;
        }
        return trees_.emplace(files, top).first->second;
    }
    // `count` small files to copy, and a fresh empty target folder.
    const fs::path& copySource(int count) {
        auto found = sources_.find(count);
        if (found != sources_.end()) return found->second;
        const fs::path folder = root_ / ("source" + std::to_string(count));
        fs::create_directories(folder);
        for (int i = 0; i < count; ++i)
            std::ofstream(folder / ("node" + std::to_string(i) + ".txt"))
                << "text of node " << i << "\r\n";
        return sources_.emplace(count, folder).first->second;
    }
    fs::path freshFolder() {
        const fs::path folder = root_ / ("out" + std::to_string(++outputs_));
        fs::create_directories(folder);
        return folder;
    }
    void remove(const fs::path& folder) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    ~Scratch() { remove(root_); }

  private:
    Scratch() {
        root_ = fs::temp_directory_path() / ("zel-bench-filelist-" + std::to_string(::getpid()));
        fs::create_directories(root_);
    }
    fs::path root_;
    std::map<int, fs::path> trees_;
    std::map<int, fs::path> sources_;
    int outputs_ = 0;
};

double secondsOf(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) std::abort();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ExpandTree(benchmark::State& state) {
    const std::string top = Scratch::get().tree(static_cast<int>(state.range(0))).string();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::vector<std::string> list;
        zel::addDroppedPaths({top}, zel::FileDropMode::ExpandSubDir, list);
        lines = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}

void PeerFind(benchmark::State& state) {
    const std::string top = Scratch::get().tree(static_cast<int>(state.range(0))).string();
    for (auto _ : state)
        state.SetIterationTime(secondsOf("find '" + top + "' -type f | wc -l > /dev/null"));
}

void ExpandTreeToNodes(benchmark::State& state) {
    const std::string top = Scratch::get().tree(static_cast<int>(state.range(0))).string();
    zel::FileListNodeOptions options;
    options.templateLines = zel::defaultFileListTemplate();
    for (auto _ : state) {
        zel::MemoFile file;
        zel::MemoHolder* holder = file.createHolder_(-1);
        std::vector<std::string> list;
        zel::addDroppedPaths({top}, zel::FileDropMode::ExpandSubDir, list);
        benchmark::DoNotOptimize(zel::makeNodesFromLines(*holder, list, options).count);
    }
}

std::vector<std::string> pathLines(int count) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    // Names in no order, so a sorted holder has work to do.
    for (int i = 0; i < count; ++i)
        lines.push_back("/data/folder" + std::to_string(i % 97) + "/file" +
                        std::to_string((i * 7919) % count) + ".txt");
    return lines;
}

void MakeNodes(benchmark::State& state) {
    const std::vector<std::string> lines = pathLines(static_cast<int>(state.range(0)));
    zel::FileListNodeOptions options;
    options.templateLines = zel::defaultFileListTemplate();
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<zel::MemoFile>();
        zel::MemoHolder* holder = file->createHolder_(-1);
        state.ResumeTiming();
        benchmark::DoNotOptimize(zel::makeNodesFromLines(*holder, lines, options).count);
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}

void MakeNodesSorted(benchmark::State& state) {
    const std::vector<std::string> lines = pathLines(static_cast<int>(state.range(0)));
    zel::FileListNodeOptions options;
    options.templateLines = zel::defaultFileListTemplate();
    for (auto _ : state) {
        state.PauseTiming();
        auto file = std::make_unique<zel::MemoFile>();
        zel::MemoHolder* holder = file->createHolder_(-1);
        holder->setSort_(true);
        holder->setCurrent_(holder->makeNode_());
        state.ResumeTiming();
        benchmark::DoNotOptimize(zel::makeNodesFromLines(*holder, lines, options).count);
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
}

void SaveEach(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    zel::MemoFile file;
    zel::MemoHolder* holder = file.createHolder_(-1);
    for (int i = 0; i < count; ++i) {
        auto node = holder->newNode_();
        node->memo = {"text of node " + std::to_string(i)};
        node->putField_("Filename", "\"/old/node" + std::to_string(i) + ".txt\"");
        holder->addNode_(std::move(node), "node" + std::to_string(i));
    }
    zel::SaveEachOptions options;
    options.confirmWriteOver = false;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path folder = Scratch::get().freshFolder();
        std::vector<std::string> log;
        state.ResumeTiming();
        benchmark::DoNotOptimize(
            zel::saveEach(holder, folder.string() + "/", options, {}, log).saved);
        state.PauseTiming();
        Scratch::get().remove(folder);
        state.ResumeTiming();
    }
}

void PeerCopySync(benchmark::State& state) {
    const fs::path& source = Scratch::get().copySource(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const fs::path folder = Scratch::get().freshFolder();
        state.SetIterationTime(
            secondsOf("cp '" + source.string() + "'/* '" + folder.string() + "' && sync"));
        Scratch::get().remove(folder);
    }
}

}  // namespace

BENCHMARK(ExpandTree)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PeerFind)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(ExpandTreeToNodes)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MakeNodes)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(MakeNodesSorted)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(SaveEach)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseRealTime();
BENCHMARK(PeerCopySync)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->UseManualTime();
