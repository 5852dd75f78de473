#pragma once
// Synthetic holder files for benchmarks: the real holder markup (header lines,
// settings, one record per node) filled with pseudo-random ASCII and Shift_JIS
// text and a few large Base64 bodies. The same seed gives the same bytes on
// every machine (the generator uses only raw mt19937 output).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zel::bench {

struct HolderRecipe {
    std::uint32_t seed = 1;
    // The text grows node by node until it has at least this many bytes.
    std::size_t targetBytes = 1 << 20;
    // About one node in this many carries a binary body of 64 KiB to 1 MiB.
    unsigned binaryEvery = 400;
    // When not 0, exactly this many records, whatever their size.
    std::size_t nodes = 0;
};

// The lines of a ".mxh" holder file, without line ends.
std::vector<std::string> generateHolderLines(const HolderRecipe& recipe);
// Writes the ".mxh" text to `path` (a native path); false when that failed.
bool writeHolderFile(const std::string& path, const HolderRecipe& recipe);

// A holder of exactly `nodes` text nodes (no binary bodies), seeded `seed`:
// the holders of the benchmark memo set and the single large holders.
HolderRecipe textNodesRecipe(std::uint32_t seed, std::size_t nodes);

// The benchmark memo set in `folder`: the index bench.mxa and its holders
// h01.mxh, h02.mxh, ... of `nodesPerHolder` text nodes each (holder k seeded
// k). The bytes of the holder files, or 0 when a file could not be written.
std::size_t writeBenchMemoSet(const std::string& folder, int holders, std::size_t nodesPerHolder);

}  // namespace zel::bench
