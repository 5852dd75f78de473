// Loading and saving whole memo files: 20 holders of 10,000 generated nodes
// each. Load = read + parse + build the nodes of every holder; saves as .mxh
// and .mhz (measured beside zlib's deflate alone on the same text); a .maz
// container written and read back; the memory a loaded memo file holds; and
// one holder of 100,000 small nodes loaded, sorted and saved; the whole set
// saved with its locks and checks beside the same set without them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "HolderGenerator.h"
#include "model/Container.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoFileSave.h"
#include "model/MemoHolder.h"
#include "platform/Compression.h"
#include "platform/SafeFileSet.h"
#include "platform/SafeFileWriter.h"
#include "text/LineList.h"

namespace {

constexpr int kHolders = 20;
constexpr std::size_t kNodesPerHolder = 10000;

// The generated memo file on disk: an index and its holder files.
class Workspace {
  public:
    static Workspace& get() {
        static Workspace workspace;
        return workspace;
    }

    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::size_t holderBytes() const { return holderBytes_; }

    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        std::filesystem::create_directory(root_ / "out");
        holderBytes_ = zel::bench::writeBenchMemoSet(root_.string(), kHolders, kNodesPerHolder);
        if (holderBytes_ == 0) std::abort();
    }

    std::filesystem::path root_;
    std::size_t holderBytes_ = 0;
};

std::unique_ptr<zel::MemoFile> loadMemoFile() {
    auto file = std::make_unique<zel::MemoFile>();
    std::vector<std::string> errors;
    if (zel::openIndex_(*file, Workspace::get().path("bench.mxa"), errors, nullptr) != 0)
        std::abort();
    for (int i = 0; i < file->countOfHolders_(); ++i) {
        zel::MemoHolder& holder = *file->holderAt_(i);
        if (zel::readHolderFile_(holder, zel::holderFilePath_(holder)) != 0) std::abort();
        holder.loaded = true;
    }
    return file;
}

zel::MemoFile& loadedMemoFile() {
    static std::unique_ptr<zel::MemoFile> file = loadMemoFile();
    return *file;
}

long long statusKilobytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atoll(line.c_str() + std::string(key).size());
    return 0;
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Workspace::get().holderBytes()));
}

// Runs first, in a process that holds nothing else yet: the peak resident
// memory while loading and what stays resident, both over the text size.
void BM_LoadedMemory(benchmark::State& state) {
    const double text = static_cast<double>(Workspace::get().holderBytes());
    double peak = 0, resident = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";  // restarts the peak count
        const long long before = statusKilobytes("VmRSS:");
        auto file = loadMemoFile();
        peak = static_cast<double>(statusKilobytes("VmHWM:") - before) * 1024;
        resident = static_cast<double>(statusKilobytes("VmRSS:") - before) * 1024;
        benchmark::DoNotOptimize(file.get());
    }
    state.counters["text_MB"] = text / 1e6;
    state.counters["peak_over_text"] = peak / text;
    state.counters["resident_over_text"] = resident / text;
}
BENCHMARK(BM_LoadedMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadMemoFile(benchmark::State& state) {
    Workspace::get();  // the files are generated on first use, never inside the timing
    for (auto _ : state) {
        auto file = loadMemoFile();
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
    setBytes(state);
}
BENCHMARK(BM_LoadMemoFile)->Iterations(3)->Unit(benchmark::kMillisecond);

void saveAll(benchmark::State& state, const char* extension) {
    zel::MemoFile& file = loadedMemoFile();
    for (auto _ : state) {
        for (int i = 0; i < file.countOfHolders_(); ++i) {
            zel::MemoHolder& holder = *file.holderAt_(i);
            const std::string target =
                Workspace::get().path("out/" + holder.getName_() + extension);
            if (zel::saveHolderFile_(holder, target) < 0) std::abort();
        }
    }
    setBytes(state);
}

void BM_SaveHoldersMxh(benchmark::State& state) {
    saveAll(state, ".mxh");
}
BENCHMARK(BM_SaveHoldersMxh)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_SaveHoldersMhz(benchmark::State& state) {
    saveAll(state, ".mhz");
}
BENCHMARK(BM_SaveHoldersMhz)->Iterations(3)->Unit(benchmark::kMillisecond);

// zlib's deflate alone on the very text the .mhz save writes: the yardstick
// for that save.
void BM_DeflateHolderTextOnly(benchmark::State& state) {
    zel::MemoFile& file = loadedMemoFile();
    std::vector<std::string> texts;
    for (int i = 0; i < file.countOfHolders_(); ++i)
        texts.push_back(zel::holderFileText_(*file.holderAt_(i)));
    std::string compressed;
    for (auto _ : state) {
        for (const auto& text : texts) {
            if (!zel::deflateBytes(text, compressed)) std::abort();
            benchmark::DoNotOptimize(compressed.data());
        }
    }
    setBytes(state);
}
BENCHMARK(BM_DeflateHolderTextOnly)->Iterations(3)->Unit(benchmark::kMillisecond);

// Every holder and the index saved as one set, as the window and zel-tool
// save: each file's writers' lock, the check that it is still the version
// read (its stamp and, as written, its hash) and the journalled renames.
void BM_SaveSetChecked(benchmark::State& state) {
    zel::MemoFile& file = loadedMemoFile();
    zel::MemoFileSaveRequest request;
    for (int i = 0; i < file.countOfHolders_(); ++i) {
        zel::MemoHolder* holder = file.holderAt_(i);
        request.holders.emplace_back(holder, zel::holderFilePath_(*holder));
    }
    request.indexPath = Workspace::get().path("bench.mxa");
    for (auto _ : state)
        if (!zel::saveMemoFileSet_(file, request).ok) std::abort();
    setBytes(state);
}
BENCHMARK(BM_SaveSetChecked)->Iterations(5)->Unit(benchmark::kMillisecond);

// The yardstick: the same texts through the same journalled set, with no
// lock, no check and no hash.
void BM_SaveSetUnchecked(benchmark::State& state) {
    zel::MemoFile& file = loadedMemoFile();
    for (auto _ : state) {
        zel::SafeFileSet set;
        for (int i = 0; i < file.countOfHolders_(); ++i) {
            zel::MemoHolder& holder = *file.holderAt_(i);
            ++holder.countSave;
            set.add(Workspace::get().path("out/" + holder.getName_() + ".mxh"))
                .append(zel::holderFileText_(holder));
        }
        set.add(Workspace::get().path("out/bench.mxa")).append(file.indexText_());
        if (!set.commit()) std::abort();
    }
    setBytes(state);
}
BENCHMARK(BM_SaveSetUnchecked)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_WriteContainer(benchmark::State& state) {
    zel::MemoFile& file = loadedMemoFile();
    for (auto _ : state)
        if (file.writeContainer_(Workspace::get().path("out/bench.maz")) < 0) std::abort();
    setBytes(state);
}
BENCHMARK(BM_WriteContainer)->Iterations(2)->Unit(benchmark::kMillisecond);

void BM_ReadContainer(benchmark::State& state) {
    const std::string container = Workspace::get().path("out/bench.maz");
    if (!std::filesystem::exists(container) && loadedMemoFile().writeContainer_(container) < 0)
        std::abort();
    for (auto _ : state) {
        auto file = std::make_unique<zel::MemoFile>();
        std::string error;
        if (zel::loadContainer_(*file, container, &error) != 0) std::abort();
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
    setBytes(state);
}
BENCHMARK(BM_ReadContainer)->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

constexpr int kSmallNodes = 100000;

// One holder of 100,000 small nodes, written once in shuffled name order so
// the sort has real work to do.
const std::string& smallNodesHolderPath() {
    static const std::string path = [] {
        const std::string target = Workspace::get().path("small.mxh");
        zel::MemoHolder holder;
        std::mt19937 random(100000);
        std::vector<int> order(kSmallNodes);
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        for (int number : order) {
            auto node = holder.newNode_();
            node->memo.push_back("memo line of node " + std::to_string(number));
            node->setMarked_(number % 7 == 0);
            holder.addNode_(std::move(node), "node " + std::to_string(number));
        }
        if (zel::saveHolderFile_(holder, target) < 0) std::abort();
        return target;
    }();
    return path;
}

// Load, sort and save of the one large holder, each step timed on its own.
void BM_HolderOf100000Nodes(benchmark::State& state) {
    const std::string& source = smallNodesHolderPath();
    const std::string target = Workspace::get().path("out/small.mxh");
    double load = 0, sort = 0, save = 0;
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::time_point from) {
        return std::chrono::duration<double>(Clock::now() - from).count();
    };
    for (auto _ : state) {
        auto owned = std::make_unique<zel::MemoHolder>();
        zel::MemoHolder& holder = *owned;
        auto start = Clock::now();
        if (zel::readHolderFile_(holder, source) != 0) std::abort();
        load += seconds(start);
        start = Clock::now();
        holder.setSort_(true);
        holder.nodes->keepOrder_();
        sort += seconds(start);
        start = Clock::now();
        if (zel::saveHolderFile_(holder, target) < 0) std::abort();
        save += seconds(start);
        state.PauseTiming();
        owned.reset();
        state.ResumeTiming();
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["load_s"] = load / runs;
    state.counters["sort_s"] = sort / runs;
    state.counters["save_s"] = save / runs;
}
BENCHMARK(BM_HolderOf100000Nodes)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
