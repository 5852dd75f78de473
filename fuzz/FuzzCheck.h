#pragma once
// What the fuzz targets share: a promise that names itself when broken, and
// a model that reports nothing and refuses bombs early.

#include <cstdio>
#include <cstdlib>

// A broken promise names itself before the fuzzer keeps the input.
#define check(condition)                                                                  \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                 \
        }                                                                                 \
    } while (false)

#ifdef ZEL_FUZZ_MODEL
#include <string>
#include <string_view>

#include "object/Report.h"
#include "platform/Compression.h"

// Bombs are refused early, so one input never costs more than a moment.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    zel::setReporter([](const std::string&) {});
    zel::setLogSink([](std::string_view) {});
    zel::setInflateLimits({16 << 20, 200, 1 << 20});
    return 0;
}
#endif
