// Turning hostile names into file names: a holder's name into its file name
// and a mail attachment's name into the name it is stored under (its first
// and a numbered try). The names mix ASCII, half-width and double-byte
// characters, so the cut to 255 bytes of UTF-8 weighs each character; the
// time must grow with the length of the name, not with its square (80 KB
// of holder name: well under 50 ms).
#include <benchmark/benchmark.h>

#include <string>

#include "model/HolderFileNames.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "platform/ExternalNames.h"

namespace {

// `bytes` of "x", half-width カ, 表 (whose second byte looks like "\") and
// "/", a separator that holder names turn into "_".
std::string hostileName(std::size_t bytes) {
    std::string name;
    name.reserve(bytes + 5);
    while (name.size() < bytes) name += "x\xB6\x95\x5C/";
    name.resize(bytes);
    return name;
}

void BM_HolderFileName(benchmark::State& state) {
    zel::MemoFile file;
    file.setFilename("/memo/names.mxa");
    zel::MemoHolder& holder = *file.createHolder_(-1);
    holder.putName_as_(hostileName(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(zel::holderNameFileName(holder));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_HolderFileName)
    ->Arg(10'000)
    ->Arg(40'000)
    ->Arg(80'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_AttachmentFileName(benchmark::State& state) {
    const std::string wanted = hostileName(static_cast<std::size_t>(state.range(0))) + ".txt";
    for (auto _ : state) {
        const std::string plain = zel::plainFileName(wanted, "text.tmp");
        benchmark::DoNotOptimize(zel::numberedFileName(plain, 1));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AttachmentFileName)
    ->Arg(80'000)
    ->Arg(200'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
