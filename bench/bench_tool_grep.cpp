// `zel-tool grep` and `scan` as whole processes beside GNU grep on the same
// bytes: the benchmark memo set (20 holders x 10,000 nodes, about 195 MB of
// holder text), a word of every kind: absent, rare (one node name per
// holder), common (in most nodes) and common with letter case ignored. The
// peer is `LC_ALL=C grep -F -c KEY` (`-iF` when case is ignored) over the
// holder files. Both write to a file: GNU grep stops at the first match when
// its output is /dev/null. Wall time per run; the ratio of a pair of lines
// (Tool/... over Peer/...) is the figure of the table.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "HolderGenerator.h"

namespace {

struct Word {
    const char* keyword;
    bool ignoreCase;
};
const Word kWords[] = {
    {"zqxjv", false}, {"node01234", false}, {"meeting", false}, {"Meeting", true}};

class MemoSet {
  public:
    static MemoSet& get() {
        static MemoSet set;
        return set;
    }
    std::filesystem::path index() const { return root_ / "bench.mxa"; }
    std::string holderFiles() const { return (root_ / "h*.mxh").string(); }
    std::string output() const { return (root_ / "out.txt").string(); }
    ~MemoSet() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

  private:
    MemoSet() {
        root_ = std::filesystem::temp_directory_path() /
                ("zel-bench-tool-grep-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_);
        zel::bench::writeBenchMemoSet(root_.string(), 20, 10000);
    }
    std::filesystem::path root_;
};

void runCommand(benchmark::State& state, const std::string& command) {
    for (auto _ : state)
        if (std::system(command.c_str()) == -1) state.SkipWithError("could not start");
}

void toolSearch(benchmark::State& state, const char* verb) {
    const MemoSet& set = MemoSet::get();
    const Word& word = kWords[state.range(0)];
    state.SetLabel(word.keyword);
    runCommand(state, std::string(ZEL_TOOL) + " " + verb + (word.ignoreCase ? " -i " : " ") +
                          set.index().string() + " '" + word.keyword + "' > " + set.output());
}

void Tool_Grep(benchmark::State& state) {
    toolSearch(state, "grep");
}
void Tool_Scan(benchmark::State& state) {
    toolSearch(state, "scan");
}

void Peer_GnuGrep(benchmark::State& state) {
    const MemoSet& set = MemoSet::get();
    const Word& word = kWords[state.range(0)];
    state.SetLabel(word.keyword);
    runCommand(state, std::string("LC_ALL=C grep ") + (word.ignoreCase ? "-iF" : "-F") + " -c '" +
                          word.keyword + "' " + set.holderFiles() + " > " + set.output());
}

// Words 0-3 as listed in kWords; each pair run one after the other.
BENCHMARK(Peer_GnuGrep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Tool_Grep)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Tool_Scan)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
