// Go to node: one keystroke's matches over 200,000 node names (target 30 ms),
// and the name-only read of the holder files of a memo file not loaded.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "HolderGenerator.h"
#include "search/NodeFinder.h"

namespace zel::bench {
namespace {

constexpr int kHolders = 20;
constexpr std::size_t kNodesPerHolder = 10000;

// The large set, written once (20 holders of 10,000 nodes, 195 MB) and
// removed when the program ends.
class LargeSet {
  public:
    static const std::string& folder() {
        static const LargeSet set;
        return set.folder_;
    }
    ~LargeSet() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

  private:
    LargeSet() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-finder-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        if (!writeBenchMemoSet(folder_, kHolders, kNodesPerHolder)) std::abort();
    }
    std::string folder_;
};

std::string holderPath(int holder) {
    const std::string number = std::to_string(holder);
    return LargeSet::folder() + "/h" + (holder < 10 ? "0" : "") + number + ".mxh";
}

// The files were just written: this is the read from the page cache.
void BM_FinderNameOnlyRead(benchmark::State& state) {
    LargeSet::folder();  // written before the clock runs
    std::size_t names = 0;
    for (auto _ : state) {
        HolderNameCache cache;
        names = 0;
        for (int holder = 1; holder <= kHolders; ++holder)
            if (const auto* read = cache.names(holderPath(holder))) names += read->size();
        benchmark::DoNotOptimize(names);
    }
    state.counters["names"] = static_cast<double>(names);
}
BENCHMARK(BM_FinderNameOnlyRead)->Unit(benchmark::kMillisecond);

// What a user types, one keystroke after another, then the texts that make
// the matching work hardest: a letter most names hold, so nearly every name
// ranks; initials ("nm" of "node00012 memo"), found only after the substring
// test failed; a Shift_JIS katakana; and a text no name holds.
struct Typed {
    const char* text;
    const char* label;
};
constexpr Typed kTyped[] = {{"n", "n"},       {"no", "no"},         {"nod", "nod"},
                            {"node", "node"}, {"node 1", "node 1"}, {"node 12", "node 12"},
                            {"e", "e"},       {"nm", "nm"},         {"\x83\x81", "katakana me"},
                            {"zzz", "zzz"}};

// Each text is one keystroke's figure: the target holds for every one, not on average.
void BM_FinderKeystroke(benchmark::State& state) {
    static const NodeNameIndex index = [] {
        HolderNameCache cache;
        NodeNameIndex built;
        for (int holder = 1; holder <= kHolders; ++holder)
            if (const auto* read = cache.names(holderPath(holder)))
                built.addHolder(static_cast<std::size_t>(holder - 1), *read);
        return built;
    }();
    const Typed& typed = kTyped[state.range(0)];
    std::size_t found = 0;
    for (auto _ : state) {
        const auto matches = index.find(typed.text, 50);
        found = matches.size();
        benchmark::DoNotOptimize(matches.data());
    }
    state.SetLabel(typed.label);
    state.counters["names"] = static_cast<double>(index.size());
    state.counters["shown"] = static_cast<double>(found);
}
BENCHMARK(BM_FinderKeystroke)
    ->DenseRange(0, static_cast<int>(std::size(kTyped)) - 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel::bench
