// Base64 decoding of arbitrary lines, the encoder's round trip, and the
// ISO-2022-JP conversion, whose output must stay 7-bit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Base64.h"
#include "formats/JisCode.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);

    std::vector<std::string> lines;
    for (std::size_t start = 0; start <= input.size();) {
        std::size_t end = input.find('\n', start);
        if (end == std::string_view::npos) end = input.size();
        lines.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    std::optional<std::string> decoded(std::string{});
    check(zel::decodeBase64(decoded, lines) == 0);
    std::size_t bound = 0;
    for (const auto& line : lines) bound += line.size() / 4 * 3;
    check(decoded->size() <= bound);

    std::optional<std::string> original{std::string(input)};
    std::vector<std::string> encoded;
    zel::encodeBase64(original, encoded);
    for (const auto& line : encoded) check(line.size() <= 76 && line.size() % 4 == 0);
    check(zel::base64Encode_(input).size() == (input.size() + 2) / 3 * 4);
    std::optional<std::string> back(std::string{});
    zel::decodeBase64(back, encoded);
    check(*back == input);

    for (unsigned char c : zel::sjisToJis_(input)) check(c < 0x80);
    return 0;
}
