#pragma once
// Compressed data is exactly one zlib stream (RFC 1950) at the default level,
// with no header of our own. Inflating is bounded, so a small hostile file
// cannot fill the memory: the inflated size may not exceed the limit, nor
// 1000 times the compressed size.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoResult.h"

namespace zel {

inline constexpr std::uint64_t kDefaultInflateLimit = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMaxInflateRatio = 1000;

IoResult deflateBytes(std::string_view plain, std::string& compressed);
IoResult inflateBytes(std::string_view compressed, std::string& plain,
                      std::uint64_t limit = kDefaultInflateLimit);

// Whole compressed files (.maz, .mhz, .z); writing goes through the safe writer.
IoResult writeCompressedFile(std::string_view path, std::string_view plain);
IoResult readCompressedFile(std::string_view path, std::string& plain,
                            std::uint64_t limit = kDefaultInflateLimit);

// Compressed text files: a list of Shift_JIS lines, each ending in CR LF.
// Writing yields the uncompressed size in bytes, or -1 (the reason in
// `error` when given).
long long writeCompressedLines(const std::vector<std::string>& lines, std::string_view path,
                               std::string* error = nullptr);
// Fills `lines` with the lines of the file; CR LF, LF and CR all end a line.
// `lines` is emptied first and stays empty on failure.
IoResult readCompressedLines(std::vector<std::string>& lines, std::string_view path);
// Writes the inflated content of `source` as `target`.
IoResult decompressFile(std::string_view source, std::string_view target);
// A ".z" file (any letter case) is inflated beside itself without the ".z":
// 0 when done, -1 for any other name (nothing happens), -2 when inflating or
// writing failed (the reason in `error` when given).
int decompressZFile(std::string_view path, std::string* error = nullptr);

}  // namespace zel
