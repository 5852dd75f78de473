// Search throughput beside GNU grep on the same bytes, in the same run.
//
// Data: a memo file of 20 generated holders of about 7 MiB of text each.
// haystack.txt holds the bytes the search reads, one line each: every name,
// memo, comment and field line of every node, LF-separated. Scan and Grep run
// over every holder in memory; `LC_ALL=C grep -aFc` (and `-aiFc` for the
// letter-case-folded runs) run on haystack.txt with a warm cache, given the
// keyword in the same Shift_JIS bytes as the engine and started
// through the shell; both sides count processor time, so a busy machine
// shifts them alike. Bytes per second of both are the
// haystack's size per run, so their ratio is the speed ratio.
//
// Also: Replace without hits next to Scan, a grep with many hit lines (and
// grep -aFn writing them to a file), the line filter over a million-line
// node, and a million result lines listed in the result view.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "HolderGenerator.h"
#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "search/HolderScan.h"
#include "search/ui/ResultListModel.h"
#include "text/LineList.h"
#include "text/LineMatcher.h"
#include "text/Sjis.h"

namespace {

constexpr int kHolders = 20;
constexpr std::size_t kHolderBytes = 7u << 20;

class Corpus {
  public:
    static Corpus& get() {
        static Corpus corpus;
        return corpus;
    }
    zel::MemoFile& file() { return *file_; }
    const std::vector<std::string>& holderNames() const { return names_; }
    const std::string& haystack() const { return haystack_; }
    std::size_t bytes() const { return bytes_; }
    std::size_t lines() const { return lines_; }
    std::string scratch() const { return (root_ / "peer.out").string(); }

    ~Corpus() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    Corpus() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-bench-search-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        root_ = pattern;
        file_ = std::make_unique<zel::MemoFile>();
        file_->setFilename((root_ / "bench.mxa").string());
        for (int h = 1; h <= kHolders; ++h) {
            char name[8];
            std::snprintf(name, sizeof name, "h%02d", h);
            zel::bench::HolderRecipe recipe;
            recipe.seed = static_cast<std::uint32_t>(h);
            recipe.targetBytes = kHolderBytes;
            recipe.binaryEvery = 0;
            const std::string path = (root_ / (std::string(name) + ".mxh")).string();
            if (!zel::bench::writeHolderFile(path, recipe)) std::abort();
            zel::MemoHolder* holder = file_->createHolder_(-1);
            holder->putName_as_(name);
            if (zel::readHolderFile_(*holder, zel::holderFilePath_(*holder)) != 0) std::abort();
            holder->loaded = true;
            names_.emplace_back(name);
        }
        writeHaystack();
    }

    void line(std::ofstream& out, std::string_view text) {
        out << text << '\n';
        bytes_ += text.size() + 1;
        ++lines_;
    }

    void writeHaystack() {
        haystack_ = (root_ / "haystack.txt").string();
        std::ofstream out(haystack_, std::ios::binary);
        for (int h = 0; h < file_->countOfHolders_(); ++h) {
            const zel::MemoHolder& holder = *file_->holderAt_(h);
            for (int n = 0; n < holder.count_(); ++n) {
                const zel::MemoNode& node = *holder.at_(n);
                line(out, node.getName_());
                for (const auto& text : node.memo) line(out, text);
                for (const auto& text : node.comment) line(out, text);
                for (std::size_t f = 0; f < node.fields.size(); ++f) line(out, node.fields[f]);
            }
        }
    }

    std::filesystem::path root_;
    std::unique_ptr<zel::MemoFile> file_;
    std::vector<std::string> names_;
    std::string haystack_;
    std::size_t bytes_ = 0;
    std::size_t lines_ = 0;
};

class QuietHost : public zel::ScanHost {
  public:
    void loadHolder(zel::MemoHolder&) override {}
    void status(std::string_view) override {}
    bool breakRequested() override { return false; }
    void log(std::string_view) override {}
    void holderReplaced(zel::MemoHolder&) override {}
};

// The keywords, as UTF-8 for the command line and Shift_JIS for the engine.
struct Keyword {
    const char* label;
    const char* utf8;
    bool ignoreCase;
};
constexpr Keyword kKeywords[] = {
    {"absent", "zebra", false},
    {"rare", "buy milk", false},
    {"japanese", "会議", false},
    {"mixed_case_ignore", "ToDo", true},
};

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(Corpus::get().bytes()));
}

void runEngine(benchmark::State& state, zel::ScanKind kind, const Keyword& keyword) {
    Corpus& corpus = Corpus::get();
    zel::ScanRequest request;
    request.kind = kind;
    request.keyword = zel::utf8ToSjis(keyword.utf8);
    request.replacement = "unused";
    request.sections = {true, true, true, true};
    request.ignoreCase = keyword.ignoreCase;
    request.severalHolders = true;
    QuietHost host;
    std::size_t entries = 0;
    std::size_t listed = 0;
    for (auto _ : state) {
        zel::ScanResults results;
        entries = zel::runScan(corpus.file(), corpus.holderNames(), request, host, results).entries;
        listed = results.textBytes();
        benchmark::DoNotOptimize(entries);
    }
    state.counters["listed_MB"] = static_cast<double>(listed) / 1e6;
    setBytes(state);
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["MB"] = static_cast<double>(corpus.bytes()) / 1e6;
}

// The processor time of the finished child processes (grep and its shell),
// so that the peer is measured as the engine is, in CPU time.
double childSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// `command` on the haystack, its output into a file, timed from outside; the
// first run only warms the cache.
void runPeer(benchmark::State& state, const std::string& command) {
    // Not into /dev/null: GNU grep then stops at the first match.
    const std::string line =
        command + " '" + Corpus::get().haystack() + "' > '" + Corpus::get().scratch() + "'";
    if (std::system(line.c_str()) == -1) std::abort();
    for (auto _ : state) {
        const double before = childSeconds();
        if (std::system(line.c_str()) == -1) std::abort();
        state.SetIterationTime(childSeconds() - before);
    }
    setBytes(state);
}

// The keyword as the shell passes it to grep: the engine's Shift_JIS bytes,
// since those are what the haystack holds.
std::string shellKeyword(const Keyword& keyword) {
    std::string quoted = "'";
    for (char c : zel::utf8ToSjis(keyword.utf8))
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string peerCount(const Keyword& keyword) {
    return std::string("LC_ALL=C grep -aFc") + (keyword.ignoreCase ? "i" : "") + " " +
           shellKeyword(keyword);
}

// What grep -c wrote: its count of hit lines, one per haystack line, as the
// engine's Grep lists one entry per hit line.
double peerCountResult() {
    std::ifstream in(Corpus::get().scratch());
    double count = -1;
    in >> count;
    return count;
}

void registerAll() {
    for (const Keyword& keyword : kKeywords) {
        const std::string label = keyword.label;
        benchmark::RegisterBenchmark(
            ("Scan/" + label).c_str(),
            [keyword](benchmark::State& s) { runEngine(s, zel::ScanKind::Scan, keyword); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark(
            ("Grep/" + label).c_str(),
            [keyword](benchmark::State& s) { runEngine(s, zel::ScanKind::Grep, keyword); })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
        benchmark::RegisterBenchmark(("PeerGrepCount/" + label).c_str(),
                                     [keyword](benchmark::State& s) {
                                         runPeer(s, peerCount(keyword));
                                         s.counters["lines"] = peerCountResult();
                                     })
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5)
            ->UseManualTime();
    }
    // Only the case the peer cannot share: folding the absent keyword too.
    const Keyword absentFolded{"absent_ignore", "Zebra", true};
    benchmark::RegisterBenchmark(
        "Scan/absent_ignore",
        [absentFolded](benchmark::State& s) { runEngine(s, zel::ScanKind::Scan, absentFolded); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark(
        "PeerGrepCount/absent_ignore",
        [absentFolded](benchmark::State& s) { runPeer(s, peerCount(absentFolded)); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->UseManualTime();
    benchmark::RegisterBenchmark(
        "ReplaceNoHits/absent",
        [](benchmark::State& s) { runEngine(s, zel::ScanKind::Replace, kKeywords[0]); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark(
        "ReplaceNoHits/absent_ignore",
        [absentFolded](benchmark::State& s) { runEngine(s, zel::ScanKind::Replace, absentFolded); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

// About a million hit lines: every line holding "milk".
const Keyword kMany{"many_hits", "milk", false};

void BM_GrepManyHits(benchmark::State& state) {
    runEngine(state, zel::ScanKind::Grep, kMany);
}
BENCHMARK(BM_GrepManyHits)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PeerGrepLinesManyHits(benchmark::State& state) {
    runPeer(state, "LC_ALL=C grep -aFn " + shellKeyword(kMany));
}
BENCHMARK(BM_PeerGrepLinesManyHits)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

// The line filter of New Child Grep over a node of a million lines.
void BM_LineFilterMillionLines(benchmark::State& state) {
    zel::Lines source;
    source.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        source.push_back("line " + std::to_string(i) +
                         (i % 100 == 0 ? " TODO item" : " plain text"));
    std::size_t bytes = 0;
    for (const auto& line : source) bytes += line.size() + 1;
    for (auto _ : state) {
        zel::Lines kept;
        benchmark::DoNotOptimize(
            zel::grepTSL_(&source, "todo", &kept, zel::GrepContains, false, true, true));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_LineFilterMillionLines)->Unit(benchmark::kMillisecond)->Iterations(5);

// A million grep lines shown: the store handed to the model, the view laid
// out, scrolled to the end and painted.
void BM_ListMillionGrepLines(benchmark::State& state) {
    Corpus& corpus = Corpus::get();
    zel::ScanRequest request;
    request.kind = zel::ScanKind::Grep;
    request.keyword = kMany.utf8;
    request.sections = {true, true, true, true};
    request.ignoreCase = false;
    request.severalHolders = true;
    QuietHost host;
    zel::ScanResults found;
    zel::runScan(corpus.file(), corpus.holderNames(), request, host, found);
    // Exactly a million lines: the hits again and again.
    zel::ScanResults results;
    for (std::size_t row = 0; results.size() < 1000000; row = (row + 1) % found.size())
        results.add(found.node(row), {found.text(row)});
    const double lines = static_cast<double>(results.size());
    const double bytesPerHit = static_cast<double>(results.textBytes()) / lines;
    zel::ResultListModel model;
    zel::ResultListView view;
    view.resize(800, 600);
    view.setModel(&model);
    view.show();
    QApplication::processEvents();
    for (auto _ : state) {
        zel::ScanResults copy = results;
        const auto start = std::chrono::steady_clock::now();
        model.replace(std::move(copy));
        view.scrollToBottom();
        view.repaint();
        QApplication::processEvents();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count());
        state.PauseTiming();
        model.clear();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["lines"] = lines;
    state.counters["text_bytes_per_hit"] = bytesPerHit;
}
BENCHMARK(BM_ListMillionGrepLines)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
