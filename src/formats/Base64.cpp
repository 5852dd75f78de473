#include "formats/Base64.h"

#include <array>
#include <cstdint>

namespace zel {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kBytesPerLine = 57;

// Characters outside the alphabet ("=" included) decode as 0.
constexpr std::array<std::uint8_t, 256> makeDecodeTable() {
    std::array<std::uint8_t, 256> table{};
    for (std::uint8_t i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = i;
    return table;
}
constexpr auto kDecode = makeDecodeTable();

std::uint32_t sextet(char c) {
    return kDecode[static_cast<unsigned char>(c)];
}

}  // namespace

std::string base64Encode_(std::string_view bytes) {
    std::string out;
    out.resize((bytes.size() + 2) / 3 * 4);
    auto byteAt = [&](std::size_t i) -> std::uint32_t {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    };
    std::size_t o = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t group = byteAt(i) << 16 | byteAt(i + 1) << 8 | byteAt(i + 2);
        out[o++] = kAlphabet[group >> 18 & 63];
        out[o++] = kAlphabet[group >> 12 & 63];
        out[o++] = i + 1 < bytes.size() ? kAlphabet[group >> 6 & 63] : '=';
        out[o++] = i + 2 < bytes.size() ? kAlphabet[group & 63] : '=';
    }
    return out;
}

int encodeBase64(const std::optional<std::string>& stream, std::vector<std::string>& lines) {
    if (!stream) return -1;
    std::string_view bytes(*stream);
    lines.reserve(lines.size() + (bytes.size() + kBytesPerLine - 1) / kBytesPerLine);
    for (std::size_t i = 0; i < bytes.size(); i += kBytesPerLine)
        lines.push_back(base64Encode_(bytes.substr(i, kBytesPerLine)));
    return 0;
}

// Containers carry megabytes of Base64: the bytes are written in place
// rather than pushed one by one.
void decodeBase64Line(std::string_view line, std::string& out) {
    const std::size_t groups = line.size() / 4;
    if (groups == 0) return;
    const std::size_t start = out.size();
    out.resize(start + groups * 3);
    char* to = out.data() + start;
    std::size_t nextPad = line.find('=');
    for (std::size_t g = 0; g + 4 <= line.size(); g += 4) {
        if (nextPad != std::string_view::npos && nextPad < g) nextPad = line.find('=', g);
        std::uint32_t group = sextet(line[g]) << 18 | sextet(line[g + 1]) << 12 |
                              sextet(line[g + 2]) << 6 | sextet(line[g + 3]);
        std::size_t count = nextPad == g + 2 ? 1 : nextPad == g + 3 ? 2 : 3;
        to[0] = static_cast<char>(group >> 16);
        to[1] = static_cast<char>(group >> 8 & 0xFF);
        to[2] = static_cast<char>(group & 0xFF);
        to += count;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

}  // namespace zel
