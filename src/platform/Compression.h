#pragma once
// Compressed data is exactly one zlib stream (RFC 1950) at the default level,
// with no header of our own. Inflating is bounded, so a small hostile file
// cannot fill the memory: the inflated size may not exceed the limit, nor
// 1000 times the compressed size.

#include <cstdint>
#include <string>
#include <string_view>

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

}  // namespace zel
