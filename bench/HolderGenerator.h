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
};

// The lines of a ".mxh" holder file, without line ends.
std::vector<std::string> generateHolderLines(const HolderRecipe& recipe);
// Writes the ".mxh" text to `path` (a native path); false when that failed.
bool writeHolderFile(const std::string& path, const HolderRecipe& recipe);

}  // namespace zel::bench
