// HTML export beside sed on the same bytes: holder pages of 10,000 and
// 100,000 generated nodes written to a file through the safe writer, next to
// `sed` escaping the same memo text and adding "<BR>" to each line (the
// bulk of a holder page); the month page over 100,000 date-named nodes; and
// the peak memory a 100,000-node page adds (pages are streamed, not held).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "HolderGenerator.h"
#include "export/CalendarPages.h"
#include "export/HtmlNodes.h"
#include "export/HtmlOutput.h"
#include "export/HtmlPages.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/FileSystem.h"
#include "text/LineList.h"

namespace {

// Generated holders and the memo text of each, written out for sed.
class Workspace {
  public:
    static Workspace& get() {
        static Workspace workspace;
        return workspace;
    }
    ~Workspace() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::string path(const std::string& name) const { return (root_ / name).string(); }

    // A holder of about `nodes` generated text nodes, loaded once.
    zel::MemoHolder& holder(std::size_t nodes) {
        auto& slot = holders_[nodes];
        if (slot) return *slot->holderAt_(0);
        slot = std::make_unique<zel::MemoFile>();
        zel::MemoHolder& holder = *slot->createHolder_(-1);
        holder.putName_as_("bench");
        zel::bench::HolderRecipe recipe;
        recipe.seed = static_cast<std::uint32_t>(nodes);
        recipe.binaryEvery = 0;
        recipe.targetBytes = nodes * 1100;
        const std::string file = path("h" + std::to_string(nodes) + ".mxh");
        if (!zel::bench::writeHolderFile(file, recipe)) std::abort();
        if (zel::readHolderFile_(holder, file) != 0) std::abort();
        holder.loaded = true;
        // What sed reads: every memo line of every node, one per line.
        zel::NodeList list;
        holder.setNodeList_(list);
        std::ofstream memo(memoPath(nodes), std::ios::binary);
        for (const auto& [name, node] : list)
            for (const auto& line : node->memo) memo << line << '\n';
        return holder;
    }
    std::string memoPath(std::size_t nodes) const {
        return path("memo" + std::to_string(nodes) + ".txt");
    }

  private:
    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-bench-export-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
    }
    std::filesystem::path root_;
    std::map<std::size_t, std::unique_ptr<zel::MemoFile>> holders_;
};

zel::DateTime fixedNow() {
    zel::DateTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    return t;
}

void BM_HolderPage(benchmark::State& state) {
    const auto nodes = static_cast<std::size_t>(state.range(0));
    Workspace& workspace = Workspace::get();
    zel::MemoHolder& holder = workspace.holder(nodes);
    const std::string out = workspace.path("page.html");
    for (auto _ : state) {
        const zel::PageNodes list = zel::pageNodesOf(holder);
        const zel::IoResult saved = zel::savePage(out, {}, [&](zel::PageSink& sink) {
            zel::writeHolderPage(sink, holder, list, fixedNow());
        });
        if (!saved) std::abort();
    }
    const auto bytes = zel::fileSize(out).value_or(0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["nodes"] = static_cast<double>(holder.count_());
    state.counters["page_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_HolderPage)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// sed over the same memo text, timed from outside; the first run warms the cache.
void BM_PeerSedMemoText(benchmark::State& state) {
    const auto nodes = static_cast<std::size_t>(state.range(0));
    Workspace& workspace = Workspace::get();
    workspace.holder(nodes);
    const std::string line =
        "LC_ALL=C sed -e 's/&/\\&amp;/g;s/</\\&lt;/g;s/>/\\&gt;/g;s/$/<BR>/' '" +
        workspace.memoPath(nodes) + "' > '" + workspace.path("sed.out") + "'";
    if (std::system(line.c_str()) != 0) std::abort();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(line.c_str()) != 0) std::abort();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
    }
    const auto bytes = zel::fileSize(workspace.path("sed.out")).value_or(0);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["out_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_PeerSedMemoText)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();

// 100,000 nodes over ten years of days, a few per day; one month page.
void BM_MonthPage(benchmark::State& state) {
    static zel::MemoFile file;
    static zel::MemoHolder* holder = nullptr;
    if (!holder) {
        holder = file.createHolder_(-1);
        holder->putName_as_("diary");
        zel::DateTime day = fixedNow();
        day.year = 2015;
        day.month = 1;
        day.day = 1;
        for (int i = 0; i < 100000; ++i) {
            auto node = holder->newNode_();
            node->memo = {"line one of node " + std::to_string(i), "line two"};
            const zel::DateTime at = zel::addDays(day, i / 27);
            holder->addNode_(std::move(node),
                             zel::formatDateTime("yyyymmdd", at) + " entry " + std::to_string(i));
        }
    }
    const zel::PageNodes list = zel::pageNodesOf(*holder);
    zel::DateTime month = fixedNow();
    month.year = 2020;
    std::size_t lines = 0;
    for (auto _ : state) {
        zel::Lines page;
        zel::LinesSink sink(page);
        zel::writeMonthPage(sink, *holder, list, month, fixedNow());
        lines = page.size();
        benchmark::DoNotOptimize(page.data());
    }
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_MonthPage)->Unit(benchmark::kMillisecond)->Iterations(5);

// How much the peak resident size grows while a 100,000-node page is
// written: the page goes to the file line by line.
void BM_HolderPagePeakMemory(benchmark::State& state) {
    Workspace& workspace = Workspace::get();
    zel::MemoHolder& holder = workspace.holder(100000);
    const std::string out = workspace.path("peak.html");
    auto peakKilobytes = [] {
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        return static_cast<double>(usage.ru_maxrss);
    };
    double before = 0, after = 0;
    for (auto _ : state) {
        before = peakKilobytes();
        const zel::PageNodes list = zel::pageNodesOf(holder);
        if (!zel::savePage(out, {}, [&](zel::PageSink& sink) {
                zel::writeHolderPage(sink, holder, list, fixedNow());
            }))
            std::abort();
        after = peakKilobytes();
    }
    state.counters["page_MB"] = static_cast<double>(zel::fileSize(out).value_or(0)) / 1e6;
    state.counters["peak_growth_MB"] = (after - before) / 1024.0;
}
BENCHMARK(BM_HolderPagePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
