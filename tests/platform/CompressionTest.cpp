#include "platform/Compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <random>

#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

// The largest single allocation made while a test watches: the buffer an
// inflate grows is one allocation, so this is its peak size.
namespace {
std::atomic<bool> watchingAllocations{false};
std::atomic<std::size_t> largestAllocation{0};
}  // namespace

void* operator new(std::size_t size) {
    if (watchingAllocations.load(std::memory_order_relaxed)) {
        std::size_t seen = largestAllocation.load(std::memory_order_relaxed);
        while (size > seen && !largestAllocation.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
// Once gcc inlines these into a caller it sees the replaced operator new's
// block freed by free() and takes it for a mismatch; both are ours and match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace zel {
namespace {

std::string noise(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (auto& c : bytes) c = static_cast<char>(random());
    return bytes;
}

// What zlib itself writes at the default level, so any zlib reader reads it;
// sizes around the buffer growth of both directions included.
TEST(Compression, WritesOnePlainZlibStreamAtTheDefaultLevel) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{3} << 20}) {
        std::string plain = std::string(size / 2, 'x') + noise(size - size / 2);
        std::string compressed, back;
        ASSERT_TRUE(deflateBytes(plain, compressed));
        std::string reference(compressBound(plain.size()), '\0');
        uLongf length = reference.size();
        ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(reference.data()), &length,
                            reinterpret_cast<const Bytef*>(plain.data()), plain.size(),
                            Z_DEFAULT_COMPRESSION),
                  Z_OK);
        reference.resize(length);
        EXPECT_EQ(compressed, reference) << size;
        ASSERT_TRUE(inflateBytes(compressed, back)) << size;
        EXPECT_EQ(back, plain);
    }
}

TEST(Compression, InflatingIsBoundedByTheLimitAndTheRatio) {
    std::string compressed, plain;
    ASSERT_TRUE(deflateBytes(std::string(10000, 'a'), compressed));
    EXPECT_TRUE(inflateBytes(compressed, plain, 10000));
    IoResult refused = inflateBytes(compressed, plain, 9999);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message.rfind("Refused to decompress: ", 0), 0u) << refused.message;
    EXPECT_TRUE(plain.empty());

    // Below the size from which the ratio counts, any ratio passes: a small
    // holder of a thousand equal records is no bomb.
    ASSERT_TRUE(deflateBytes(std::string(2 << 20, '\0'), compressed));
    EXPECT_TRUE(inflateBytes(compressed, plain));
    InflateLimits strict;
    strict.ratioFrom = 1 << 20;
    refused = inflateBytes(compressed, plain, strict);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("200 times"), std::string::npos) << refused.message;

    // Text that grows like memo text passes the ratio at any size.
    const std::string text = std::string(1 << 20, 'x') + noise(3 << 20);
    ASSERT_TRUE(deflateBytes(text, compressed));
    EXPECT_TRUE(inflateBytes(compressed, plain, strict));
    EXPECT_EQ(plain, text);
}

TEST(Compression, ABombIsRefusedOnceTheLimitIsReachedNotAtItsEnd) {
    std::string bomb;
    ASSERT_TRUE(deflateBytes(std::string(std::size_t{64} << 20, '\0'), bomb));
    InflateLimits limits;
    limits.ratioFrom = 1 << 20;
    std::uint64_t delivered = 0;
    Inflater inflater([&](std::string_view piece) { return delivered += piece.size(), true; },
                      limits);
    IoResult refused = inflater.feed(bomb);
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.message.rfind("Refused to decompress: ", 0), 0u) << refused.message;
    EXPECT_LE(inflater.produced(), limits.ratioFrom + (1 << 20)) << "stopped near the limit";
    EXPECT_LE(delivered, inflater.produced());
    EXPECT_FALSE(inflater.feed(bomb)) << "a failed stream stays failed";
}

// Whole-buffer inflating grows by doubling; wherever the ratio starts to count,
// a bomb must be refused before the buffer doubles past it. A refusal may
// overshoot by one check step (4 MB), never by a doubling.
TEST(Compression, ABombNeverGrowsTheWholeBufferFarPastWhereTheRatioCounts) {
    std::string bomb;
    ASSERT_TRUE(deflateBytes(std::string(std::size_t{64} << 20, '\0'), bomb));
    constexpr std::size_t kStep = std::size_t{4} << 20;
    // Some size of the doubling buffer lies within 2 MB above one of these.
    for (std::size_t from = 8; from <= 16; from += 2) {
        InflateLimits limits;
        limits.ratioFrom = from << 20;
        std::string plain;
        largestAllocation = 0;
        watchingAllocations = true;
        IoResult refused = inflateBytes(bomb, plain, limits);
        watchingAllocations = false;
        EXPECT_FALSE(refused) << from;
        EXPECT_NE(refused.message.find("times its compressed size"), std::string::npos)
            << refused.message;
        EXPECT_LE(largestAllocation.load(), limits.ratioFrom + kStep + 64) << from << " MB";
    }
}

TEST(Compression, StreamsInPiecesGiveTheWholeAndTellWhyTheyFail) {
    const std::string plain = std::string(300000, 'y') + noise(3 << 20);
    std::string compressed;
    ASSERT_TRUE(deflateBytes(plain, compressed));
    std::string out;
    Inflater inflater([&](std::string_view piece) { return out.append(piece), true; });
    std::mt19937 random(3);
    for (std::size_t at = 0; at < compressed.size();) {
        std::size_t size = std::min<std::size_t>(compressed.size() - at, 1 + random() % 70000);
        ASSERT_TRUE(inflater.feed(std::string_view(compressed).substr(at, size)));
        at += size;
    }
    ASSERT_TRUE(inflater.finish());
    EXPECT_TRUE(inflater.ended());
    EXPECT_EQ(out, plain);

    Inflater cut([](std::string_view) { return true; });
    EXPECT_TRUE(cut.feed(std::string_view(compressed).substr(0, compressed.size() - 9)));
    IoResult early = cut.finish();
    EXPECT_NE(early.message.find("the compressed data ends early"), std::string::npos);
    std::string whole;
    EXPECT_NE(inflateBytes(compressed.substr(0, compressed.size() - 9), whole)
                  .message.find("the compressed data ends early"),
              std::string::npos);
    std::string flipped = compressed;
    flipped[2] ^= 0x7F;
    EXPECT_NE(inflateBytes(flipped, whole).message.find("damaged"), std::string::npos);

    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("a.z"), compressed));
    int pieces = 0;
    IoResult stopped = inflateFile(dir.path("a.z"), [&](std::string_view) { return ++pieces < 3; });
    EXPECT_FALSE(stopped);
    EXPECT_EQ(pieces, 3) << "a sink that says stop is not asked again";
    EXPECT_NE(stopped.message.find("a.z"), std::string::npos);
}

TEST(Compression, LimitsComeFromTheSettingsWithDefaultsForWhatIsMissingOrBad) {
    std::map<std::string, std::string, std::less<>> ini = {
        {"InflateLimitMB", "\"512\""}, {"InflateMaxRatio", " 50"}, {"InflateRatioFromMB", "x"}};
    auto value = [&](std::string_view key) {
        auto found = ini.find(key);
        return found == ini.end() ? std::string() : found->second;
    };
    InflateLimits limits = inflateLimitsFromSettings(value);
    EXPECT_EQ(limits.maxBytes, std::uint64_t{512} << 20);
    EXPECT_EQ(limits.maxRatio, 50u);
    EXPECT_EQ(limits.ratioFrom, InflateLimits{}.ratioFrom);

    const InflateLimits before = inflateLimits();
    setInflateLimits({100, 0, 0});
    EXPECT_EQ(inflateLimits().maxBytes, 100u);
    EXPECT_EQ(inflateLimits().maxRatio, kMaxInflateRatio) << "zero means the default";
    std::string compressed, plain;
    ASSERT_TRUE(deflateBytes(std::string(101, 'a'), compressed));
    EXPECT_FALSE(inflateBytes(compressed, plain)) << "the process-wide limit applies";
    setInflateLimits(before);
}

TEST(Compression, CompressedFilesGoThroughTheSafeWriter) {
    test::TempFolder dir;
    std::string path = dir.path("holder.mhz");
    ASSERT_TRUE(writeCompressedFile(path, "<Holder>\r\n"));
    std::string plain;
    ASSERT_TRUE(readCompressedFile(path, plain));
    EXPECT_EQ(plain, "<Holder>\r\n");

    ASSERT_TRUE(writeFileSafely(path, "plain text, not a stream"));
    IoResult result = readCompressedFile(path, plain);
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find("holder.mhz"), std::string::npos);
    EXPECT_FALSE(readCompressedFile(dir.path("missing.mhz"), plain));
}

}  // namespace
}  // namespace zel

namespace zel {
namespace {

TEST(CompressedLines, RoundTripAsShiftJisWithCrLf) {
    test::TempFolder dir;
    std::string path = dir.path("lines.z");
    std::vector<std::string> lines{"\x83\x81\x83\x82", "", "last"};
    EXPECT_EQ(writeCompressedLines(lines, path), 14);
    std::string plain;
    ASSERT_TRUE(readCompressedFile(path, plain));
    EXPECT_EQ(plain, "\x83\x81\x83\x82\r\n\r\nlast\r\n");

    std::vector<std::string> back{"stale"};
    ASSERT_TRUE(readCompressedLines(back, path));
    EXPECT_EQ(back, lines);

    ASSERT_TRUE(writeCompressedFile(path, "a\rb\nc\r\n\nd"));
    ASSERT_TRUE(readCompressedLines(back, path));
    EXPECT_EQ(back, (std::vector<std::string>{"a", "b", "c", "", "d"}));

    std::string error;
    EXPECT_EQ(writeCompressedLines(lines, dir.path("no/folder.z"), &error), -1);
    EXPECT_NE(error.find("folder.z"), std::string::npos);
    EXPECT_FALSE(readCompressedLines(back, dir.path("missing.z")));
    EXPECT_TRUE(back.empty());
}

TEST(CompressedLines, ZFilesAreInflatedBesideThemselves) {
    test::TempFolder dir;
    ASSERT_TRUE(writeCompressedFile(dir.path("notes.txt.Z"), "hello\r\n"));
    EXPECT_EQ(decompressZFile(dir.path("notes.txt.Z")), 0);
    std::string plain;
    ASSERT_TRUE(readFile(dir.path("notes.txt"), plain));
    EXPECT_EQ(plain, "hello\r\n");

    EXPECT_EQ(decompressZFile(dir.path("notes.zip")), -1);
    EXPECT_EQ(decompressZFile(dir.path("x.z/file")), -1);

    ASSERT_TRUE(writeFileSafely(dir.path("bad.z"), "not a stream"));
    std::string error;
    EXPECT_EQ(decompressZFile(dir.path("bad.z"), &error), -2);
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(pathExists(dir.path("bad")));
}

}  // namespace
}  // namespace zel
