#include "platform/Compression.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "platform/TempFolder.h"

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
    EXPECT_NE(refused.message.find("9999"), std::string::npos) << refused.message;
    EXPECT_TRUE(plain.empty());

    // Two megabytes of zeros shrink to about two kilobytes: more than a
    // thousandfold, which no memo text reaches and a hostile file would.
    ASSERT_TRUE(deflateBytes(std::string(2 << 20, '\0'), compressed));
    ASSERT_GT(compressed.size() * kMaxInflateRatio, 1u << 20);
    ASSERT_LT(compressed.size() * kMaxInflateRatio, 2u << 20);
    refused = inflateBytes(compressed, plain);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.message.find("1000 times"), std::string::npos) << refused.message;
}

TEST(Compression, DamagedStreamsAreErrorsNotData) {
    std::string compressed, plain;
    ASSERT_TRUE(deflateBytes(noise(5000), compressed));
    EXPECT_FALSE(inflateBytes(compressed.substr(0, compressed.size() / 2), plain));
    EXPECT_TRUE(plain.empty());
    std::string flipped = compressed;
    flipped[flipped.size() / 2] ^= 0x55;
    EXPECT_FALSE(inflateBytes(flipped, plain));
    EXPECT_FALSE(inflateBytes("not compressed at all", plain));
    EXPECT_FALSE(inflateBytes("", plain));
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
