#pragma once
// The Shift_JIS (code page 932) boundary. Model strings are CP932 bytes; this
// module is the one place that knows which bytes pair up into a character and
// the one place that converts to and from UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace zel {

// True for a byte that begins a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool isLeadByte(char c) {
    return isLeadByte(static_cast<unsigned char>(c));
}

// Length in bytes of the character that starts at `pos`: 2 for a lead byte
// followed by another byte, else 1. A lead byte at the very end counts alone.
inline std::size_t charLength(std::string_view s, std::size_t pos) {
    return (isLeadByte(s[pos]) && pos + 1 < s.size()) ? 2 : 1;
}

// True for a byte that may follow a lead byte (0x40-0x7E, 0x80-0xFC).
constexpr bool isTrailByte(unsigned char c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// Start of the character that holds byte `at`, given `boundary`, a character
// start at or before it. A byte below 0x40 is neither a lead nor a trail byte,
// so a character starts right after one: the walk begins at the last such
// byte, not at `boundary`, and a hit far into a long text costs a few bytes.
inline std::size_t charStartAt(std::string_view s, std::size_t boundary, std::size_t at) {
    std::size_t start = at;
    while (start > boundary && static_cast<unsigned char>(s[start - 1]) >= 0x40) --start;
    while (start < at && start + charLength(s, start) <= at) start += charLength(s, start);
    return start;
}

// Start of the last character of `s` (found from the front, since a trail byte
// alone cannot tell where a character begins); npos for an empty text.
std::size_t lastCharStart(std::string_view s);

// Position of the first single-byte character `c` at or after `from`, skipping
// both bytes of every double-byte character; npos when there is none.
std::size_t findSingleByte(std::string_view s, char c, std::size_t from = 0);
// Same for any single-byte character of `set`.
std::size_t findAnySingleByte(std::string_view s, std::string_view set, std::size_t from = 0);
// Position of `pattern` at or after `from` that starts on a character boundary.
std::size_t findOnBoundary(std::string_view s, std::string_view pattern, std::size_t from = 0);

// Length-preserving case fold: ASCII A-Z and the full-width Latin, Greek and
// Cyrillic capitals to their small forms; every other byte, both bytes of other
// double-byte characters included, stays.
std::string lowerText(std::string_view s);
// The same fold into `out` (replacing its contents), so a caller that folds
// many lines reuses one buffer.
void lowerTextInto(std::string_view s, std::string& out);
// The same fold one byte at a time, told whether the byte is the second byte
// of a double-byte character whose first byte is `lead`.
unsigned char lowerByte(unsigned char c, bool trail, unsigned char lead);
// The inverse fold.
std::string upperText(std::string_view s);
// Case-insensitive order: the folded forms first, then the bytes.
int compareText(std::string_view a, std::string_view b);
// Case-insensitive equality (the folded forms are equal).
bool sameText(std::string_view a, std::string_view b);
// Case-insensitive search on character boundaries; npos when absent.
std::size_t findText(std::string_view s, std::string_view pattern, std::size_t from = 0);

// CP932 to UTF-8. A byte sequence that is not CP932 becomes U+FFFD; `lossy`
// (when given) tells whether that happened.
std::string sjisToUtf8(std::string_view sjis, bool* lossy = nullptr);
// UTF-8 to CP932. A character CP932 cannot hold (or a malformed UTF-8 byte)
// becomes "?"; `replaced` (when given) receives how many were replaced.
std::string utf8ToSjis(std::string_view utf8, std::size_t* replaced = nullptr);

}  // namespace zel
