#include "formats/JisCode.h"

#include <array>
#include <cstdint>

#include "text/Sjis.h"

namespace zel {

namespace {

constexpr char kToKanji[] = "\x1b$B";
constexpr char kToRoman[] = "\x1b(J";
constexpr std::uint8_t kGeta[2] = {0x22, 0x2E};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

// JIS X 0208 codes of the half-width katakana A1..DF (row byte, cell byte).
constexpr std::array<std::array<std::uint8_t, 2>, 63> kHalfWidthKana = {{
    {0x21, 0x23}, {0x21, 0x56}, {0x21, 0x57}, {0x21, 0x22}, {0x21, 0x26},  // A1-A5
    {0x25, 0x72}, {0x25, 0x21}, {0x25, 0x23}, {0x25, 0x25}, {0x25, 0x27},  // A6-AA
    {0x25, 0x29}, {0x25, 0x63}, {0x25, 0x65}, {0x25, 0x67}, {0x25, 0x43},  // AB-AF
    {0x21, 0x3C}, {0x25, 0x22}, {0x25, 0x24}, {0x25, 0x26}, {0x25, 0x28},  // B0-B4
    {0x25, 0x2A}, {0x25, 0x2B}, {0x25, 0x2D}, {0x25, 0x2F}, {0x25, 0x31},  // B5-B9
    {0x25, 0x33}, {0x25, 0x35}, {0x25, 0x37}, {0x25, 0x39}, {0x25, 0x3B},  // BA-BE
    {0x25, 0x3D}, {0x25, 0x3F}, {0x25, 0x41}, {0x25, 0x44}, {0x25, 0x46},  // BF-C3
    {0x25, 0x48}, {0x25, 0x4A}, {0x25, 0x4B}, {0x25, 0x4C}, {0x25, 0x4D},  // C4-C8
    {0x25, 0x4E}, {0x25, 0x4F}, {0x25, 0x52}, {0x25, 0x55}, {0x25, 0x58},  // C9-CD
    {0x25, 0x5B}, {0x25, 0x5E}, {0x25, 0x5F}, {0x25, 0x60}, {0x25, 0x61},  // CE-D2
    {0x25, 0x62}, {0x25, 0x64}, {0x25, 0x66}, {0x25, 0x68}, {0x25, 0x69},  // D3-D7
    {0x25, 0x6A}, {0x25, 0x6B}, {0x25, 0x6C}, {0x25, 0x6D}, {0x25, 0x6F},  // D8-DC
    {0x25, 0x73}, {0x21, 0x2B}, {0x21, 0x2C},                              // DD-DF
}};

bool isHalfWidthKana(unsigned char c) {
    return c >= 0xA1 && c <= 0xDF;
}
bool isGraphic(unsigned char c) {
    return c >= 0x21 && c <= 0x7E;
}

class JisWriter {
  public:
    explicit JisWriter(std::size_t sizeHint) { out_.reserve(sizeHint + sizeHint / 2 + 8); }

    void single(char c) {
        if (kanji_) {
            out_ += kToRoman;
            kanji_ = false;
        }
        out_ += c;
    }
    void pair(std::uint8_t j1, std::uint8_t j2) {
        if (!kanji_) {
            out_ += kToKanji;
            kanji_ = true;
        }
        out_ += static_cast<char>(j1);
        out_ += static_cast<char>(j2);
    }
    void geta() { pair(kGeta[0], kGeta[1]); }
    std::string finish() {
        if (kanji_) out_ += kToRoman;
        return std::move(out_);
    }

  private:
    std::string out_;
    bool kanji_ = false;
};

// The usual Shift_JIS to JIS X 0208 arithmetic; vendor and user-defined lead
// bytes go through it unchanged, and only results outside 21..7E are refused.
bool convertPair(unsigned char s1, unsigned char s2, JisWriter& out) {
    int j1 = s1 < 0xA0 ? (s1 - 0x70) * 2 : (s1 - 0xB0) * 2;
    int j2;
    if (s2 >= 0x9F) {
        j2 = s2 - 0x7E;
    } else {
        j1 -= 1;
        j2 = s2 >= 0x80 ? s2 - 0x20 : s2 - 0x1F;
    }
    if (!isGraphic(static_cast<unsigned char>(j1)) || !isGraphic(static_cast<unsigned char>(j2)))
        return false;
    out.pair(static_cast<std::uint8_t>(j1), static_cast<std::uint8_t>(j2));
    return true;
}

// Writes the full-width form of the kana at `pos`; yields the bytes consumed.
std::size_t convertKana(std::string_view text, std::size_t pos, JisWriter& out) {
    auto k = static_cast<unsigned char>(text[pos]);
    auto code = kHalfWidthKana[k - 0xA1];
    if (pos + 1 < text.size()) {
        auto mark = static_cast<unsigned char>(text[pos + 1]);
        bool voiceable = k == 0xB3 || (k >= 0xB6 && k <= 0xC4) || (k >= 0xCA && k <= 0xCE);
        bool semiVoiceable = k >= 0xCA && k <= 0xCE;
        if (mark == kVoicedMark && voiceable) {
            // ウ lies far from ヴ; every other voiced kana is the next code.
            out.pair(code[0], k == 0xB3 ? 0x74 : code[1] + 1);
            return 2;
        }
        if (mark == kSemiVoicedMark && semiVoiceable) {
            out.pair(code[0], code[1] + 2);
            return 2;
        }
    }
    out.pair(code[0], code[1]);
    return 1;
}

}  // namespace

std::string sjisToJis_(std::string_view text) {
    JisWriter out(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto c = static_cast<unsigned char>(text[pos]);
        if (c < 0x80) {
            out.single(text[pos]);
            pos += 1;
        } else if (isHalfWidthKana(c)) {
            pos += convertKana(text, pos, out);
        } else if (isLeadByte(c) && pos + 1 < text.size() &&
                   isTrailByte(static_cast<unsigned char>(text[pos + 1]))) {
            // A well-formed pair outside the 94 x 94 set (user-defined area)
            // still counts as one character.
            if (!convertPair(c, static_cast<unsigned char>(text[pos + 1]), out)) out.geta();
            pos += 2;
        } else {
            // A lone or invalid byte: its neighbour is looked at again on its own,
            // so a line break after a truncated character survives.
            out.geta();
            pos += 1;
        }
    }
    return out.finish();
}

}  // namespace zel
