// Writes a synthetic holder file: zel_holdergen OUT.mxh MEGABYTES [SEED].
#include <cstdio>
#include <cstdlib>
#include <string>

#include "HolderGenerator.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.mxh MEGABYTES [SEED]\n", argv[0]);
        return 2;
    }
    zel::bench::HolderRecipe recipe;
    double megabytes = std::strtod(argv[2], nullptr);
    if (!(megabytes > 0 && megabytes <= 4096)) {
        std::fprintf(stderr, "MEGABYTES must lie between 0 and 4096\n");
        return 2;
    }
    recipe.targetBytes = static_cast<std::size_t>(megabytes * 1024 * 1024);
    if (argc > 3) recipe.seed = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
    if (!zel::bench::writeHolderFile(argv[1], recipe)) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
