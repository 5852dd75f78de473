#include "platform/Compression.h"

#include "text/LineList.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {
namespace {

// zlib counts in uInt; larger data is fed in slices of this size.
constexpr std::size_t kSlice = std::numeric_limits<uInt>::max() / 2 + 1;
// Output is produced in steps of at most this much between two checks of the
// limits, so a refusal overshoots them by no more than one step.
constexpr std::size_t kCheckStep = std::size_t{4} << 20;
constexpr std::size_t kFileChunk = std::size_t{1} << 20;
constexpr std::uint64_t kMegabyte = std::uint64_t{1} << 20;

InflateLimits& currentLimits() {
    static InflateLimits limits;
    return limits;
}

std::string zlibMessage(const char* what, const z_stream& stream, int code) {
    std::string text(what);
    text += ": ";
    text += stream.msg ? stream.msg : zError(code);
    return text;
}

std::uint64_t saturatingProduct(std::uint64_t a, std::uint64_t b) {
    return b != 0 && a > std::numeric_limits<std::uint64_t>::max() / b
               ? std::numeric_limits<std::uint64_t>::max()
               : a * b;
}

// A string grown in place takes at least twice its capacity, whatever size was
// asked; a fresh one of the wanted capacity takes the contents instead.
void growExactly(std::string& buffer, std::size_t size) {
    std::string grown;
    grown.reserve(size);
    grown.append(buffer);
    grown.resize(size);
    buffer.swap(grown);
}

// Empty while the output is within the limits, else the reason to refuse.
std::string refusal(const InflateLimits& limits, std::uint64_t produced, std::uint64_t consumed) {
    if (produced > limits.maxBytes)
        return "Refused to decompress: the data grows beyond " +
               std::to_string(limits.maxBytes / kMegabyte) + " MB (InflateLimitMB in zel.ini)";
    if (produced > limits.ratioFrom && produced > saturatingProduct(limits.maxRatio, consumed))
        return "Refused to decompress: the data grows more than " +
               std::to_string(limits.maxRatio) +
               " times its compressed size, as no memo file does (InflateMaxRatio in zel.ini)";
    return {};
}

// Why a stream that stopped without error before its end, or with one, failed.
std::string damage(const z_stream& stream, int code) {
    if (code == Z_OK || code == Z_BUF_ERROR)
        return "Could not decompress: the compressed data ends early";
    if (code == Z_DATA_ERROR)
        return std::string("Could not decompress: the compressed data is damaged (") +
               (stream.msg ? stream.msg : "invalid data") + ")";
    return zlibMessage("Could not decompress", stream, code);
}

InflateLimits withDefaults(InflateLimits limits) {
    const InflateLimits defaults;
    if (limits.maxBytes == 0) limits.maxBytes = defaults.maxBytes;
    if (limits.maxRatio == 0) limits.maxRatio = defaults.maxRatio;
    if (limits.ratioFrom == 0) limits.ratioFrom = defaults.ratioFrom;
    return limits;
}

// A positive whole number from the start of a settings value, else 0.
std::uint64_t settingNumber(std::string text) {
    std::string_view digits = unquotedView(trimmedView(text));
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

}  // namespace

const InflateLimits& inflateLimits() {
    return currentLimits();
}

void setInflateLimits(const InflateLimits& limits) {
    currentLimits() = withDefaults(limits);
}

InflateLimits inflateLimitsFromSettings(const std::function<std::string(std::string_view)>& value) {
    InflateLimits limits;
    // Megabyte counts stay far below the range of the byte counts.
    constexpr std::uint64_t kMostMegabytes = std::uint64_t{1} << 30;
    if (std::uint64_t mb = settingNumber(value("InflateLimitMB")); mb && mb < kMostMegabytes)
        limits.maxBytes = mb * kMegabyte;
    if (std::uint64_t ratio = settingNumber(value("InflateMaxRatio")); ratio)
        limits.maxRatio = ratio;
    if (std::uint64_t mb = settingNumber(value("InflateRatioFromMB")); mb && mb < kMostMegabytes)
        limits.ratioFrom = mb * kMegabyte;
    return withDefaults(limits);
}

IoResult deflateBytes(std::string_view plain, std::string& compressed, DeflateEffort effort) {
    compressed.clear();
    z_stream stream{};
    int code = deflateInit(&stream,
                           effort == DeflateEffort::Fastest ? Z_BEST_SPEED : Z_DEFAULT_COMPRESSION);
    if (code != Z_OK) return IoResult::failure(zlibMessage("Could not compress", stream, code));
    compressed.resize(deflateBound(&stream, static_cast<uLong>(plain.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    std::size_t inLeft = plain.size();
    do {
        if (stream.total_out == compressed.size()) compressed.resize(compressed.size() * 2);
        std::size_t inNow = std::min(inLeft, kSlice);
        stream.avail_in = static_cast<uInt>(inNow);
        stream.next_out = reinterpret_cast<Bytef*>(compressed.data()) + stream.total_out;
        stream.avail_out =
            static_cast<uInt>(std::min(compressed.size() - stream.total_out, kSlice));
        code = deflate(&stream, inNow == inLeft ? Z_FINISH : Z_NO_FLUSH);
        inLeft -= inNow - stream.avail_in;
    } while (code == Z_OK || code == Z_BUF_ERROR);
    compressed.resize(stream.total_out);
    deflateEnd(&stream);
    if (code != Z_STREAM_END) {
        compressed.clear();
        return IoResult::failure(zlibMessage("Could not compress", stream, code));
    }
    return IoResult::success();
}

// The whole output goes straight into `plain`, which grows by doubling; the
// limits are checked after every step of output.
IoResult inflateBytes(std::string_view compressed, std::string& plain, const InflateLimits& given) {
    plain.clear();
    const InflateLimits limits = withDefaults(given);
    z_stream stream{};
    int code = inflateInit(&stream);
    if (code != Z_OK) return IoResult::failure(zlibMessage("Could not decompress", stream, code));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    std::size_t inLeft = compressed.size();
    std::string refused;
    // One byte beyond the limit tells an over-long stream from one that ends
    // exactly at it.
    const std::uint64_t capacityLimit = limits.maxBytes + 1;
    plain.resize(
        std::min<std::uint64_t>(capacityLimit, std::max<std::size_t>(compressed.size() * 4, 4096)));
    for (;;) {
        if (stream.total_out == plain.size()) {
            if (plain.size() >= capacityLimit) break;
            // Below the size from which the ratio counts, growth stops just past
            // it, so a bomb is refused there before the buffer doubles again.
            std::uint64_t grown = std::min<std::uint64_t>(capacityLimit, plain.size() * 2);
            if (plain.size() <= limits.ratioFrom)
                grown = std::min<std::uint64_t>(grown, limits.ratioFrom + kCheckStep);
            growExactly(plain, std::max<std::uint64_t>(grown, plain.size() + 1));
        }
        std::size_t inNow = std::min(inLeft, kSlice);
        stream.avail_in = static_cast<uInt>(inNow);
        stream.next_out = reinterpret_cast<Bytef*>(plain.data()) + stream.total_out;
        stream.avail_out = static_cast<uInt>(std::min(plain.size() - stream.total_out, kCheckStep));
        code = inflate(&stream, Z_NO_FLUSH);
        inLeft -= inNow - stream.avail_in;
        refused = refusal(limits, stream.total_out, compressed.size() - inLeft);
        if (!refused.empty() || code == Z_STREAM_END) break;
        if (code == Z_BUF_ERROR && inLeft == 0 && stream.avail_out > 0) break;  // truncated
        if (code != Z_OK && code != Z_BUF_ERROR) break;
    }
    const std::uint64_t produced = stream.total_out;
    if (refused.empty()) refused = refusal(limits, produced, compressed.size());
    const std::string damaged = code == Z_STREAM_END ? std::string() : damage(stream, code);
    inflateEnd(&stream);
    if (refused.empty() && damaged.empty()) {
        plain.resize(produced);
        return IoResult::success();
    }
    plain.clear();
    plain.shrink_to_fit();
    return IoResult::failure(refused.empty() ? damaged : refused);
}

IoResult inflateBytes(std::string_view compressed, std::string& plain) {
    return inflateBytes(compressed, plain, inflateLimits());
}

IoResult inflateBytes(std::string_view compressed, std::string& plain, std::uint64_t limit) {
    InflateLimits limits = inflateLimits();
    limits.maxBytes = std::min(limits.maxBytes, limit);
    return inflateBytes(compressed, plain, limits);
}

struct Inflater::State {
    z_stream stream{};
    bool open = false;
    std::string buffer;
};

Inflater::Inflater(Sink sink, const InflateLimits& limits)
    : state_(std::make_unique<State>()), sink_(std::move(sink)), limits_(withDefaults(limits)) {
    int code = inflateInit(&state_->stream);
    if (code != Z_OK) {
        status_ = IoResult::failure(zlibMessage("Could not decompress", state_->stream, code));
        return;
    }
    state_->open = true;
    state_->buffer.resize(std::size_t{256} << 10);
}

Inflater::~Inflater() {
    if (state_->open) inflateEnd(&state_->stream);
}

IoResult Inflater::fail(std::string why) {
    status_ = IoResult::failure(std::move(why));
    return status_;
}

IoResult Inflater::feed(std::string_view compressed) {
    if (!status_ || ended_) return status_;
    z_stream& stream = state_->stream;
    std::string& buffer = state_->buffer;
    for (;;) {
        const std::size_t inNow = std::min(compressed.size(), kSlice);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
        stream.avail_in = static_cast<uInt>(inNow);
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        const int code = inflate(&stream, Z_NO_FLUSH);
        const std::size_t used = inNow - stream.avail_in;
        const std::size_t made = buffer.size() - stream.avail_out;
        compressed.remove_prefix(used);
        consumed_ += used;
        produced_ += made;
        if (std::string refused = refusal(limits_, produced_, consumed_); !refused.empty())
            return fail(std::move(refused));
        if (made > 0 && !sink_(std::string_view(buffer.data(), made)))
            return fail("Break: decompressing stopped");
        if (code == Z_STREAM_END) {
            // Like inflateBytes, bytes after the stream are not read.
            ended_ = true;
            return status_;
        }
        if (code != Z_OK && code != Z_BUF_ERROR) return fail(damage(stream, code));
        // A full buffer may leave output inside zlib; otherwise it wants input.
        if (made < buffer.size() && compressed.empty()) return status_;
        if (used == 0 && made == 0) return status_;
    }
}

IoResult Inflater::finish() {
    if (!status_) return status_;
    if (ended_) {
        // The limits are judged on the whole stream once it is complete.
        if (std::string refused = refusal(limits_, produced_, consumed_); !refused.empty())
            return fail(std::move(refused));
        return status_;
    }
    return fail("Could not decompress: the compressed data ends early");
}

IoResult inflateFile(std::string_view path, const Inflater::Sink& sink,
                     const InflateLimits& limits) {
    FileReader reader(path);
    if (!reader.status()) return reader.status();
    Inflater inflater(sink, limits);
    std::string chunk;
    for (;;) {
        IoResult read = reader.read(chunk, kFileChunk);
        if (!read) return read;
        if (chunk.empty()) break;
        if (IoResult fed = inflater.feed(chunk); !fed)
            return IoResult::failure(fed.message + " (" + std::string(path) + ")");
    }
    if (IoResult done = inflater.finish(); !done)
        return IoResult::failure(done.message + " (" + std::string(path) + ")");
    return IoResult::success();
}

IoResult writeCompressedFile(std::string_view path, std::string_view plain) {
    std::string compressed;
    if (IoResult result = deflateBytes(plain, compressed); !result) {
        return IoResult::failure(result.message + " (" + std::string(path) + ")");
    }
    return writeFileSafely(path, compressed);
}

IoResult readCompressedFile(std::string_view path, std::string& plain) {
    plain.clear();
    std::string compressed;
    if (IoResult result = readFile(path, compressed); !result) return result;
    if (IoResult result = inflateBytes(compressed, plain); !result) {
        return IoResult::failure(result.message + " (" + std::string(path) + ")");
    }
    return IoResult::success();
}

long long writeCompressedLines(const std::vector<std::string>& lines, std::string_view path,
                               std::string* error) {
    std::string text = linesText(lines);
    IoResult result = writeCompressedFile(path, text);
    if (!result) {
        if (error) *error = result.message;
        return -1;
    }
    return static_cast<long long>(text.size());
}

IoResult readCompressedLines(std::vector<std::string>& lines, std::string_view path) {
    lines.clear();
    std::string text;
    IoResult result = readCompressedFile(path, text);
    if (result) lines = textLines(text);
    return result;
}

IoResult decompressFile(std::string_view source, std::string_view target) {
    std::string plain;
    if (IoResult result = readCompressedFile(source, plain); !result) return result;
    return writeFileSafely(target, plain);
}

int decompressZFile(std::string_view path, std::string* error) {
    std::size_t dot = path.rfind('.');
    std::size_t slash = path.rfind('/');
    bool isZ = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash) &&
               lowerText(path.substr(dot)) == ".z";
    if (!isZ) return -1;
    IoResult result = decompressFile(path, path.substr(0, dot));
    if (result) return 0;
    if (error) *error = result.message;
    return -2;
}

}  // namespace zel
