// A holder that inflates within the limits but to more than memory holds
// ends the verb with "not enough memory" and status 1, never with a signal.

#include <cstdio>
#include <fstream>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "platform/Compression.h"
#include "platform/SafeFileWriter.h"
#include "support/MemoryLimitedChild.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

// A compressed holder file of `count` distinct records, about 100 bytes of
// markup each.
std::string compressedHolder(int count) {
    std::string plain = "<Holder name=\"big\">\r\n";
    plain.reserve(static_cast<std::size_t>(count) * 100 + 64);
    char record[128];
    for (int i = 0; i < count; ++i) {
        const int length = std::snprintf(record, sizeof record,
                                         "  <Record name=\"n%08d\">\r\n    <Field k=\"v%08d\" />"
                                         "\r\nline %08d of a memo<BR/>\r\n  </Record>\r\n",
                                         i, i, i);
        plain.append(record, static_cast<std::size_t>(length));
    }
    plain += "</Holder>\r\n";
    std::string compressed;
    deflateBytes(plain, compressed);
    return compressed;
}

TEST(NotEnoughMemory, AHolderLargerThanMemoryEndsTheVerbWithItsReason) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's allocator and its own books would run out first, and it
    // ends the process itself: the limit is tried in the build without it.
    GTEST_SKIP() << "AddressSanitizer cannot run within an address-space limit";
#endif
    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("big.mhz"), compressedHolder(400000)));
    const std::string file = dir.osPath("big.mhz").string();
    // About 40 MB of markup: a tight limit stops its inflation, a looser one
    // its records.
    for (std::size_t headroom : {std::size_t{16} << 20, std::size_t{160} << 20}) {
        const test::ChildEnd end = test::runWithMemoryLimit(headroom, [&] {
            const test::VerbOutcome outcome = test::runVerb({"info", file});
            std::ofstream(dir.osPath("err.txt"), std::ios::binary) << outcome.err;
            return outcome.status;
        });
        EXPECT_TRUE(end.exited) << "ended by signal " << end.signal;
        EXPECT_EQ(end.status, 1);
        EXPECT_THAT(test::bytesOf(dir.osPath("err.txt")),
                    HasSubstr("not enough memory to read " + file));
    }
}

}  // namespace
}  // namespace zel
