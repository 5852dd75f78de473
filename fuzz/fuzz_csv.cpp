// The CSV import on arbitrary tables: one node per row after the header, and
// the holder made saves to markup that reads back to as many nodes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "object/Report.h"
#include "platform/Compression.h"
#include "text/LineList.h"

namespace {

// A broken promise names itself before the fuzzer keeps the input.
#define check(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

}  // namespace

// Bombs are refused early, so one input never costs more than a moment.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zel::setReporter([](const std::string&) {});
    zel::setLogSink([](std::string_view) {});
    zel::setInflateLimits({16 << 20, 200, 1 << 20});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines =
        zel::textLines(std::string_view(reinterpret_cast<const char*>(data), size));
    zel::MemoFile file;
    const int before = file.countOfHolders_();
    zel::MemoHolder* holder = zel::csvToHolder_(file, lines);
    if (!holder) {
        check(file.countOfHolders_() == before);
        return 0;
    }
    check(file.countOfHolders_() == before + 1);
    check(holder->count_() == static_cast<int>(lines.size()) - 2);
    zel::MemoHolder back;
    check(zel::readHolderText_(back, zel::holderFileText_(*holder), "csv") == 0);
    check(back.count_() == holder->count_());
    return 0;
}
