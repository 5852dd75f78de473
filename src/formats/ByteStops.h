#pragma once
// Finding the next of a few stop bytes in a run of text, sixteen bytes at a
// time: markup readers spend most of their time between stops, and a byte at
// a time dominated them.

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zel {

template <char... Stops>
struct ByteStops {
    static bool is(char c) { return ((c == Stops) || ...); }

    // The first stop byte in [p, end), else end.
    static const char* find(const char* p, const char* end) {
#if defined(__SSE2__)
        for (; end - p >= 16; p += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i hits = (_mm_cmpeq_epi8(block, _mm_set1_epi8(Stops)) | ...);
            if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(mask);
        }
#else
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        constexpr std::uint64_t kHighs = 0x8080808080808080u;
        auto zeroByte = [](std::uint64_t block) { return (block - kOnes) & ~block & kHighs; };
        for (std::uint64_t block; end - p >= 8; p += 8) {
            std::memcpy(&block, p, sizeof block);
            if ((zeroByte(block ^ (kOnes * static_cast<unsigned char>(Stops))) | ...)) break;
        }
#endif
        while (p < end && !is(*p)) ++p;
        return p;
    }
};

}  // namespace zel
