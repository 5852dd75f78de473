#include "text/LineMatcher.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "text/Sjis.h"

namespace zel {

namespace {

// How often a byte turns up in Shift_JIS memo text, roughly: the blank, the
// lead bytes of kana and punctuation (81-83), line ends and common small
// letters most; capitals, kanji lead bytes and most trail bytes rarely. The
// search anchors on the keyword's rarest byte, so that memchr skips far.
constexpr std::array<unsigned char, 256> kByteFrequency = [] {
    std::array<unsigned char, 256> f{};
    for (int c = 0; c < 256; ++c) {
        unsigned char v = 2;
        if (c >= 0x21 && c <= 0x7E) v = 5;  // ASCII punctuation
        if (c >= '0' && c <= '9') v = 10;
        if (c >= 'A' && c <= 'Z') v = 5;
        if (c >= 'a' && c <= 'z') v = 15;
        if (c >= 0x88 && c <= 0x9F) v = 8;  // kanji lead bytes
        if (c >= 0xE0 && c <= 0xEA) v = 8;
        if (c >= 0x9F && c <= 0xF1 && v < 6) v = 6;  // kana trail bytes
        f[static_cast<std::size_t>(c)] = v;
    }
    for (unsigned char c : {'e', 't', 'a', 'o', 'i', 'n', 's', 'r', 'h', 'l'}) f[c] = 40;
    for (unsigned char c : {0x0D, 0x0A}) f[c] = 50;
    for (unsigned char c : {0x20, 0x81, 0x82, 0x83}) f[c] = 100;
    return f;
}();

}  // namespace

unsigned byteFrequency(unsigned char b) {
    return kByteFrequency[b];
}

int foldPreimages(unsigned char b, char (&out)[3]) {
    int n = 0;
    out[n++] = static_cast<char>(b);
    auto add = [&](int first, int last, int offset) {
        if (b >= first && b <= last && n < 3) out[n++] = static_cast<char>(b - offset);
    };
    add('a', 'z', 32);
    add(0x81, 0x9A, 0x21);  // full-width Latin (82 60-79)
    add(0xBF, 0xD6, 0x20);  // Greek (83 9F-B6)
    add(0x70, 0x7E, 0x30);  // Cyrillic (84 40-4E)
    add(0x80, 0x91, 0x31);  // Cyrillic (84 4F-60)
    return n;
}

LineMatcher::LineMatcher(std::string_view keyword, bool ignoreCase)
    : needle_(ignoreCase ? lowerText(keyword) : std::string(keyword)), ignoreCase_(ignoreCase) {
    spansLines_ = needle_.find_first_of("\r\n") != std::string::npos;
    unsigned best = ~0u;
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        const auto b = static_cast<unsigned char>(needle_[i]);
        char images[3] = {};
        const int count = ignoreCase_ ? foldPreimages(b, images) : 1;
        if (!ignoreCase_) images[0] = static_cast<char>(b);
        unsigned cost = 0;
        for (int k = 0; k < count; ++k)
            cost += kByteFrequency[static_cast<unsigned char>(images[k])];
        if (cost >= best) continue;
        best = cost;
        anchor_ = i;
        anchorByte_ = static_cast<char>(b);
        preimageCount_ = count;
        std::memcpy(preimages_, images, sizeof images);
    }
    if (needle_.empty()) return;
    other_ = anchor_ == needle_.size() - 1 ? 0 : needle_.size() - 1;
    if (!ignoreCase_) return;
    otherCount_ = foldPreimages(static_cast<unsigned char>(needle_[other_]), otherImages_);
    mayFold_.resize(needle_.size());
    for (std::size_t i = 0; i < needle_.size(); ++i) {
        char images[3];
        const int count = foldPreimages(static_cast<unsigned char>(needle_[i]), images);
        for (int k = 0; k < count; ++k) {
            const auto r = static_cast<unsigned char>(images[k]);
            mayFold_[i][r >> 6] |= std::uint64_t{1} << (r & 63);
        }
    }
}

const char* LineMatcher::nextCandidate(const char* p, const char* end,
                                       std::string_view text) const {
    const char a = preimages_[0];
    const char b = preimageCount_ > 1 ? preimages_[1] : a;
    const char c = preimageCount_ > 2 ? preimages_[2] : a;
#if defined(__SSE2__)
    auto anyOf = [](const char* at, const char(&images)[3], int count) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const __m128i m0 = _mm_cmpeq_epi8(x, _mm_set1_epi8(images[0]));
        const __m128i m1 = _mm_cmpeq_epi8(x, _mm_set1_epi8(count > 1 ? images[1] : images[0]));
        const __m128i m2 = _mm_cmpeq_epi8(x, _mm_set1_epi8(count > 2 ? images[2] : images[0]));
        return _mm_or_si128(_mm_or_si128(m0, m1), m2);
    };
    // A letter of a common word turns up every few bytes; its pairing with
    // the keyword's other end is rare. Both stay inside the text: a
    // candidate is never closer to the end than the keyword is long.
    const std::ptrdiff_t toOther =
        static_cast<std::ptrdiff_t>(other_) - static_cast<std::ptrdiff_t>(anchor_);
    for (; end - p >= 16; p += 16) {
        __m128i m = anyOf(p, preimages_, preimageCount_);
        if (needle_.size() > 1) m = _mm_and_si128(m, anyOf(p + toOther, otherImages_, otherCount_));
        if (auto bits = static_cast<unsigned>(_mm_movemask_epi8(m))) return p + __builtin_ctz(bits);
    }
    // The rest in one load that ends no later than the text does.
    if (p < end && text.size() >= 16) {
        const char* last = text.data() + text.size() - 16;
        const char* at = p < last ? p : last;
        const auto all =
            static_cast<unsigned>(_mm_movemask_epi8(anyOf(at, preimages_, preimageCount_)));
        const unsigned bits = (all >> (p - at)) & ((1u << (end - p)) - 1);
        return bits ? p + __builtin_ctz(bits) : nullptr;
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b || *p == c) return p;
    return nullptr;
}

bool LineMatcher::mayFoldToNeedle(const char* start) const {
    for (std::size_t k = 0; k < mayFold_.size(); ++k) {
        const auto r = static_cast<unsigned char>(start[k]);
        if (!(mayFold_[k][r >> 6] >> (r & 63) & 1)) return false;
    }
    return true;
}

std::size_t LineMatcher::findFolded(std::string_view text, std::size_t from,
                                    std::size_t boundary) const {
    const std::size_t n = needle_.size();
    const char* base = text.data();
    const char* end = base + (text.size() - n) + anchor_ + 1;
    // A character boundary at or before every candidate still to come: the
    // fold of a byte depends on whether it ends a double-byte character.
    std::size_t walked = std::min(boundary, from);
    for (const char* p = base + from + anchor_; (p = nextCandidate(p, end, text)) != nullptr; ++p) {
        const char* start = p - anchor_;
        if (!mayFoldToNeedle(start)) continue;
        const auto at = static_cast<std::size_t>(start - base);
        walked = charStartAt(text, walked, at);
        bool trail = walked != at;
        auto lead = static_cast<unsigned char>(trail ? text[walked] : 0);
        std::size_t k = 0;
        for (; k < n; ++k) {
            const auto c = static_cast<unsigned char>(text[at + k]);
            if (lowerByte(c, trail, lead) != static_cast<unsigned char>(needle_[k])) break;
            if (trail) {
                trail = false;
            } else if (isLeadByte(c) && at + k + 1 < text.size()) {
                trail = true;
                lead = c;
            }
        }
        if (k == n) return at;
    }
    return std::string_view::npos;
}

std::string_view LineMatcher::compared(std::string_view text) const {
    if (!ignoreCase_) return text;
    lowerTextInto(text, folded_);
    return folded_;
}

std::size_t LineMatcher::findExact(std::string_view hay, std::size_t from) const {
    const std::size_t n = needle_.size();
    if (from > hay.size() || hay.size() - from < n) return std::string_view::npos;
    const char* base = hay.data();
    const std::size_t lastStart = hay.size() - n;
    std::size_t start = from;
#if defined(__SSE2__)
    // In Japanese text even the rarest byte of a keyword is common, so memchr
    // stops every few bytes; the anchor byte and the keyword's other end are
    // tested together for sixteen starts at a time instead.
    if (n >= 2) {
        const __m128i first = _mm_set1_epi8(anchorByte_);
        const __m128i second = _mm_set1_epi8(needle_[other_]);
        for (; start + 15 <= lastStart; start += 16) {
            const auto* at = reinterpret_cast<const __m128i*>(base + start + anchor_);
            const auto* end = reinterpret_cast<const __m128i*>(base + start + other_);
            unsigned bits = static_cast<unsigned>(
                _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_loadu_si128(at), first),
                                                _mm_cmpeq_epi8(_mm_loadu_si128(end), second))));
            for (; bits; bits &= bits - 1) {
                const std::size_t candidate = start + static_cast<unsigned>(__builtin_ctz(bits));
                if (std::memcmp(base + candidate, needle_.data(), n) == 0) return candidate;
            }
        }
    }
#endif
    const char* p = base + start + anchor_;
    const char* last = base + lastStart + anchor_;
    while (p <= last) {
        const auto* q = static_cast<const char*>(
            std::memchr(p, anchorByte_, static_cast<std::size_t>(last - p) + 1));
        if (!q) break;
        const char* start = q - anchor_;
        if (std::memcmp(start, needle_.data(), n) == 0)
            return static_cast<std::size_t>(start - base);
        p = q + 1;
    }
    return std::string_view::npos;
}

bool LineMatcher::matches(std::string_view line, int mode) const {
    const std::size_t n = needle_.size();
    if (mode != GrepHead && mode != GrepTail) return find(line) != std::string_view::npos;
    if (n == 0) return true;
    if (line.size() < n) return false;
    const std::string_view hay = compared(line);
    return mode == GrepHead ? hay.substr(0, n) == needle_ : hay.substr(hay.size() - n) == needle_;
}

bool LineMatcher::replaceAll(std::string& text, std::string_view replacement) const {
    if (find(text) == std::string_view::npos) return false;
    const std::string_view hay = compared(text);
    const std::size_t n = needle_.size();
    std::string out;
    std::size_t done = 0, boundary = 0;
    bool replaced = false;
    for (std::size_t hit = findExact(hay, 0); hit != std::string_view::npos;) {
        // Folding keeps every lead byte, so the raw text tells the boundaries.
        boundary = charStartAt(text, boundary, hit);
        if (boundary != hit) {
            hit = findExact(hay, hit + 1);
            continue;
        }
        out.append(text, done, hit - done).append(replacement);
        done = boundary = hit + n;
        replaced = true;
        hit = findExact(hay, done);
    }
    if (!replaced) return false;
    out.append(text, done, std::string::npos);
    text = std::move(out);
    return true;
}

bool matchLine_(std::string_view line, int mode, std::string_view keyword, bool ignoreCase) {
    return LineMatcher(keyword, ignoreCase).matches(line, mode);
}

void appendPadded(std::string& out, unsigned long long value, int width, char pad) {
    // Written backwards into a buffer and appended once: a grep formats two
    // numbers per hit line.
    char digits[24];
    char* const end = digits + sizeof digits;
    char* first = end;
    do {
        *--first = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    const auto count = static_cast<int>(end - first);
    if (width > count) out.append(static_cast<std::size_t>(width - count), pad);
    out.append(first, end);
}

void appendNumberedLine(std::string& out, std::size_t number, std::string_view line) {
    appendPadded(out, number, 7, ' ');
    out.append(": ").append(line);
}

}  // namespace zel
