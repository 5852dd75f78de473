#pragma once
// Compressed data is exactly one zlib stream (RFC 1950) at the default level,
// with no header of our own. Inflating is bounded while it runs, so a small
// hostile file costs time and memory in proportion to the limits, never to
// what it would inflate to.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IoResult.h"

namespace zel {

// Memo text shrinks two to thirty times under deflate; a decompression bomb
// grows three hundred to a thousand times. Past `ratioFrom` bytes of output,
// data that has grown more than `maxRatio` times the compressed bytes read so
// far is refused, and nothing ever grows beyond `maxBytes`.
struct InflateLimits {
    std::uint64_t maxBytes = std::uint64_t{1} << 30;
    std::uint64_t maxRatio = 200;
    std::uint64_t ratioFrom = std::uint64_t{64} << 20;
};

inline constexpr std::uint64_t kDefaultInflateLimit = InflateLimits{}.maxBytes;
inline constexpr std::uint64_t kMaxInflateRatio = InflateLimits{}.maxRatio;

// The limits every inflate uses unless it is given its own; the window sets
// them from zel.ini at start. Zero values are taken as the defaults.
const InflateLimits& inflateLimits();
void setInflateLimits(const InflateLimits& limits);
// The zel.ini keys: InflateLimitMB, InflateMaxRatio, InflateRatioFromMB.
// `value` answers a key's text (empty when absent); unreadable or absent
// values keep the defaults.
InflateLimits inflateLimitsFromSettings(const std::function<std::string(std::string_view)>& value);

// How hard deflate works: the files' default level, or the quickest (for
// copies kept in memory, where time counts more than bytes).
enum class DeflateEffort { Default, Fastest };

IoResult deflateBytes(std::string_view plain, std::string& compressed,
                      DeflateEffort effort = DeflateEffort::Default);
IoResult inflateBytes(std::string_view compressed, std::string& plain);
IoResult inflateBytes(std::string_view compressed, std::string& plain, const InflateLimits& limits);
// As inflateBytes with the current limits, but never beyond `limit` bytes.
IoResult inflateBytes(std::string_view compressed, std::string& plain, std::uint64_t limit);

// Inflates one stream fed in pieces; the output is handed to the sink in
// pieces too, so a large stream never needs to stand whole in memory. The
// limits are checked after every piece of output.
class Inflater {
  public:
    // Takes each piece of output; false stops inflating (reported as a break).
    using Sink = std::function<bool(std::string_view piece)>;
    explicit Inflater(Sink sink, const InflateLimits& limits = inflateLimits());
    ~Inflater();
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    // The first failure ends the stream and is kept; later calls return it.
    IoResult feed(std::string_view compressed);
    // After the last piece: a failure unless the stream ended exactly there.
    IoResult finish();
    bool ended() const { return ended_; }
    std::uint64_t produced() const { return produced_; }

  private:
    struct State;
    IoResult fail(std::string why);

    std::unique_ptr<State> state_;
    Sink sink_;
    InflateLimits limits_;
    IoResult status_;
    std::uint64_t consumed_ = 0;
    std::uint64_t produced_ = 0;
    bool ended_ = false;
};

// Reads the file at `path` piece by piece through an Inflater.
IoResult inflateFile(std::string_view path, const Inflater::Sink& sink,
                     const InflateLimits& limits = inflateLimits());

// Whole compressed files (.maz, .mhz, .z); writing goes through the safe writer.
IoResult writeCompressedFile(std::string_view path, std::string_view plain);
IoResult readCompressedFile(std::string_view path, std::string& plain);

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
