// Writes the benchmarks' synthetic files:
//   zel_holdergen OUT.mxh MEGABYTES [SEED]   a holder of about that size
//   zel_holdergen --nodes N OUT.mxh [SEED]   a holder of exactly N text nodes
//   zel_holdergen --set DIR [HOLDERS NODES]  the memo set of the load, grep and
//                                            convert benchmarks (20 x 10,000)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HolderGenerator.h"

namespace {

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s OUT.mxh MEGABYTES [SEED]\n"
                 "       %s --nodes N OUT.mxh [SEED]\n"
                 "       %s --set DIR [HOLDERS NODES]\n",
                 program, program, program);
    return 2;
}

std::uint32_t seedOf(int argc, char** argv, int at) {
    return argc > at ? static_cast<std::uint32_t>(std::strtoul(argv[at], nullptr, 10)) : 1;
}

int written(bool ok, const char* path) {
    if (ok) return 0;
    std::perror(path);
    return 1;
}

int memoSet(int argc, char** argv) {
    const int holders = argc > 3 ? std::atoi(argv[3]) : 20;
    const long nodes = argc > 4 ? std::atol(argv[4]) : 10000;
    if (holders < 1 || holders > 99 || nodes < 1) return usage(argv[0]);
    return written(
        zel::bench::writeBenchMemoSet(argv[2], holders, static_cast<std::size_t>(nodes)) > 0,
        argv[2]);
}

int holderOfNodes(int argc, char** argv) {
    const long nodes = std::atol(argv[2]);
    if (nodes < 1) return usage(argv[0]);
    const zel::bench::HolderRecipe recipe =
        zel::bench::textNodesRecipe(seedOf(argc, argv, 4), static_cast<std::size_t>(nodes));
    return written(zel::bench::writeHolderFile(argv[3], recipe), argv[3]);
}

int holderOfSize(int argc, char** argv) {
    zel::bench::HolderRecipe recipe;
    double megabytes = std::strtod(argv[2], nullptr);
    if (!(megabytes > 0 && megabytes <= 4096)) {
        std::fprintf(stderr, "MEGABYTES must lie between 0 and 4096\n");
        return 2;
    }
    recipe.targetBytes = static_cast<std::size_t>(megabytes * 1024 * 1024);
    recipe.seed = seedOf(argc, argv, 3);
    return written(zel::bench::writeHolderFile(argv[1], recipe), argv[1]);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--set") == 0) return memoSet(argc, argv);
    if (argc >= 4 && std::strcmp(argv[1], "--nodes") == 0) return holderOfNodes(argc, argv);
    if (argc >= 3 && argv[1][0] != '-') return holderOfSize(argc, argv);
    return usage(argv[0]);
}
