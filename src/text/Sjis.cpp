#include "text/Sjis.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace zel {

std::size_t lastCharStart(std::string_view s) {
    return s.empty() ? std::string_view::npos : charStartAt(s, 0, s.size() - 1);
}

std::size_t findSingleByte(std::string_view s, char c, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += charLength(s, i)) {
        if (s[i] == c) return i;
    }
    return std::string_view::npos;
}

std::size_t findAnySingleByte(std::string_view s, std::string_view set, std::size_t from) {
    for (std::size_t i = from; i < s.size(); i += charLength(s, i)) {
        if (set.find(s[i]) != std::string_view::npos) return i;
    }
    return std::string_view::npos;
}

std::size_t findOnBoundary(std::string_view s, std::string_view pattern, std::size_t from) {
    if (pattern.empty()) return from <= s.size() ? from : std::string_view::npos;
    for (std::size_t i = from; i + pattern.size() <= s.size(); i += charLength(s, i)) {
        if (s.compare(i, pattern.size(), pattern) == 0) return i;
    }
    return std::string_view::npos;
}

namespace {

// Second bytes of the double-byte capitals and the offset to their small forms.
struct FoldRange {
    unsigned char lead, first, last;
    int offset;
};
constexpr std::array<FoldRange, 4> kFoldRanges{{
    {0x82, 0x60, 0x79, 0x21},  // full-width Latin A-Z
    {0x83, 0x9F, 0xB6, 0x20},  // Greek
    {0x84, 0x40, 0x4E, 0x30},  // Cyrillic, up to the gap at 0x7F
    {0x84, 0x4F, 0x60, 0x31},  // Cyrillic after it
}};

}  // namespace

unsigned char lowerByte(unsigned char c, bool trail, unsigned char lead) {
    if (!trail) return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
    for (const auto& r : kFoldRanges) {
        if (r.lead == lead && c >= r.first && c <= r.last)
            return static_cast<unsigned char>(c + r.offset);
    }
    return c;
}

namespace {

template <bool toLower>
void foldInto(std::string_view s, std::string& out) {
    out.assign(s);
    for (std::size_t i = 0; i < out.size();) {
        auto c = static_cast<unsigned char>(out[i]);
        if (isLeadByte(c)) {
            if (i + 1 >= out.size()) break;
            auto t = static_cast<unsigned char>(out[i + 1]);
            for (const auto& r : kFoldRanges) {
                if (r.lead != c) continue;
                if (toLower && t >= r.first && t <= r.last) {
                    out[i + 1] = static_cast<char>(t + r.offset);
                    break;
                }
                if (!toLower && t >= r.first + r.offset && t <= r.last + r.offset) {
                    out[i + 1] = static_cast<char>(t - r.offset);
                    break;
                }
            }
            i += 2;
            continue;
        }
        if (toLower && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
        if (!toLower && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 32);
        ++i;
    }
}

template <bool toLower>
std::string fold(std::string_view s) {
    std::string out;
    foldInto<toLower>(s, out);
    return out;
}

// Walks a text one byte at a time and yields folded bytes without allocating.
struct FoldCursor {
    std::string_view s;
    std::size_t i = 0;
    bool trail = false;
    unsigned char lead = 0;
    bool done() const { return i >= s.size(); }
    unsigned char next() {
        auto c = static_cast<unsigned char>(s[i++]);
        unsigned char f = lowerByte(c, trail, lead);
        if (trail) {
            trail = false;
        } else if (isLeadByte(c)) {
            trail = true;
            lead = c;
        }
        return f;
    }
};

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as possible; returns false on an unconvertible or
    // malformed sequence (leaving `in` at it), true when all input was taken.
    bool convert(std::string_view& in, std::string& out) {
        char buffer[4096];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            std::size_t srcLeft = in.size();
            char* dst = buffer;
            std::size_t dstLeft = sizeof buffer;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            in.remove_prefix(in.size() - srcLeft);
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

  private:
    iconv_t cd_;
};

std::size_t utf8SequenceLength(unsigned char c) {
    if (c < 0x80) return 1;
    if ((c & 0xE0) == 0xC0) return 2;
    if ((c & 0xF0) == 0xE0) return 3;
    if ((c & 0xF8) == 0xF0) return 4;
    return 1;
}

// Bytes of the unconvertible UTF-8 sequence at the front: its first byte and
// the continuation bytes it announces, never the character after them.
std::size_t badUtf8Length(std::string_view s) {
    std::size_t expected = utf8SequenceLength(static_cast<unsigned char>(s[0]));
    std::size_t n = 1;
    while (n < expected && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) ++n;
    return n;
}

// Bytes of the unconvertible Shift_JIS sequence at the front: a lead byte takes
// the next byte along only when it can be a second byte, so a stray lead byte
// never swallows the line break or blank after it.
std::size_t badSjisLength(std::string_view s) {
    return s.size() > 1 && isLeadByte(s[0]) && isTrailByte(static_cast<unsigned char>(s[1])) ? 2
                                                                                             : 1;
}

}  // namespace

std::string lowerText(std::string_view s) {
    return fold<true>(s);
}
void lowerTextInto(std::string_view s, std::string& out) {
    foldInto<true>(s, out);
}
std::string upperText(std::string_view s) {
    return fold<false>(s);
}

int compareText(std::string_view a, std::string_view b) {
    FoldCursor x{a}, y{b};
    while (!x.done() && !y.done()) {
        unsigned char p = x.next(), q = y.next();
        if (p != q) return p < q ? -1 : 1;
    }
    if (!x.done()) return 1;
    if (!y.done()) return -1;
    int raw = a.compare(b);
    return raw < 0 ? -1 : (raw > 0 ? 1 : 0);
}

bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    FoldCursor x{a}, y{b};
    while (!x.done()) {
        if (x.next() != y.next()) return false;
    }
    return true;
}

std::size_t findText(std::string_view s, std::string_view pattern, std::size_t from) {
    if (pattern.empty()) return from <= s.size() ? from : std::string_view::npos;
    std::string hay = lowerText(s);
    std::string needle = lowerText(pattern);
    return findOnBoundary(hay, needle, from);
}

std::string sjisToUtf8(std::string_view sjis, bool* lossy) {
    thread_local Iconv cd("UTF-8", "CP932");
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    bool lost = false;
    cd.reset();
    while (!cd.convert(sjis, out)) {
        lost = true;
        out += "\xEF\xBF\xBD";
        sjis.remove_prefix(badSjisLength(sjis));
        cd.reset();
    }
    if (lossy) *lossy = lost;
    return out;
}

std::string utf8ToSjis(std::string_view utf8, std::size_t* replaced) {
    thread_local Iconv cd("CP932", "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    std::size_t count = 0;
    cd.reset();
    while (!cd.convert(utf8, out)) {
        ++count;
        out += '?';
        utf8.remove_prefix(badUtf8Length(utf8));
        cd.reset();
    }
    if (replaced) *replaced = count;
    return out;
}

}  // namespace zel
