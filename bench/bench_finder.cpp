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

// The large set, written once: 20 holders of 10,000 nodes.
const std::string& largeSet() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zel-finder-XXXXXX").string();
        if (!::mkdtemp(pattern.data()) || !writeBenchMemoSet(pattern, kHolders, kNodesPerHolder))
            std::abort();
        return pattern;
    }();
    return folder;
}

std::string holderPath(int holder) {
    const std::string number = std::to_string(holder);
    return largeSet() + "/h" + (holder < 10 ? "0" : "") + number + ".mxh";
}

void BM_FinderNameOnlyRead(benchmark::State& state) {
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

void BM_FinderKeystroke(benchmark::State& state) {
    HolderNameCache cache;
    NodeNameIndex index;
    for (int holder = 1; holder <= kHolders; ++holder)
        if (const auto* read = cache.names(holderPath(holder)))
            index.addHolder(static_cast<std::size_t>(holder - 1), *read);
    // What a user types, one keystroke after another: each iteration is one.
    const std::string typed[] = {"n", "no", "nod", "node", "node 1", "node 12"};
    std::size_t keystroke = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.find(typed[keystroke++ % std::size(typed)], 50));
    state.counters["names"] = static_cast<double>(index.size());
}
BENCHMARK(BM_FinderKeystroke)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zel::bench
