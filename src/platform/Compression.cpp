#include "platform/Compression.h"

#include "text/LineList.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"

namespace zel {
namespace {

// zlib counts in uInt; larger data is fed in slices of this size.
constexpr std::size_t kSlice = std::numeric_limits<uInt>::max() / 2 + 1;

std::string zlibMessage(const char* what, const z_stream& stream, int code) {
    std::string text(what);
    text += ": ";
    text += stream.msg ? stream.msg : zError(code);
    return text;
}

std::uint64_t inflateAllowance(std::size_t compressedSize, std::uint64_t limit) {
    std::uint64_t byRatio =
        compressedSize > limit / kMaxInflateRatio ? limit : compressedSize * kMaxInflateRatio;
    return std::min(limit, byRatio);
}

}  // namespace

IoResult deflateBytes(std::string_view plain, std::string& compressed) {
    compressed.clear();
    z_stream stream{};
    int code = deflateInit(&stream, Z_DEFAULT_COMPRESSION);
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

IoResult inflateBytes(std::string_view compressed, std::string& plain, std::uint64_t limit) {
    plain.clear();
    const std::uint64_t allowed = inflateAllowance(compressed.size(), limit);
    z_stream stream{};
    int code = inflateInit(&stream);
    if (code != Z_OK) return IoResult::failure(zlibMessage("Could not decompress", stream, code));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    std::size_t inLeft = compressed.size();
    // One byte beyond the allowance tells an over-long stream from one that
    // ends exactly at it.
    const std::uint64_t capacityLimit = allowed + 1;
    plain.resize(
        std::min<std::uint64_t>(capacityLimit, std::max<std::size_t>(compressed.size() * 4, 4096)));
    for (;;) {
        if (stream.total_out == plain.size()) {
            if (plain.size() >= capacityLimit) break;
            plain.resize(std::min<std::uint64_t>(capacityLimit, plain.size() * 2));
        }
        std::size_t inNow = std::min(inLeft, kSlice);
        stream.avail_in = static_cast<uInt>(inNow);
        stream.next_out = reinterpret_cast<Bytef*>(plain.data()) + stream.total_out;
        stream.avail_out = static_cast<uInt>(std::min(plain.size() - stream.total_out, kSlice));
        code = inflate(&stream, Z_NO_FLUSH);
        inLeft -= inNow - stream.avail_in;
        if (code == Z_STREAM_END) break;
        if (code == Z_BUF_ERROR && inLeft == 0 && stream.avail_out > 0) break;  // truncated
        if (code != Z_OK && code != Z_BUF_ERROR) break;
    }
    const std::uint64_t produced = stream.total_out;
    inflateEnd(&stream);
    if (code == Z_STREAM_END && produced <= allowed) {
        plain.resize(produced);
        return IoResult::success();
    }
    plain.clear();
    if (produced > allowed) {
        return IoResult::failure(
            "Refused to decompress: the data would grow beyond " + std::to_string(allowed) +
            " bytes (at most " + std::to_string(kMaxInflateRatio) +
            " times its compressed size and never above " + std::to_string(limit) + " bytes)");
    }
    if (code == Z_OK || code == Z_BUF_ERROR) {
        return IoResult::failure("Could not decompress: the data ends before the stream does");
    }
    return IoResult::failure(zlibMessage("Could not decompress", stream, code));
}

IoResult writeCompressedFile(std::string_view path, std::string_view plain) {
    std::string compressed;
    if (IoResult result = deflateBytes(plain, compressed); !result) {
        return IoResult::failure(result.message + " (" + std::string(path) + ")");
    }
    return writeFileSafely(path, compressed);
}

IoResult readCompressedFile(std::string_view path, std::string& plain, std::uint64_t limit) {
    plain.clear();
    std::string compressed;
    if (IoResult result = readFile(path, compressed); !result) return result;
    if (IoResult result = inflateBytes(compressed, plain, limit); !result) {
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
