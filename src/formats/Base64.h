#pragma once
// Base64 with the standard alphabet and "=" padding (RFC 2045), for bodies kept
// in holder files and containers and for encoded-word mail subjects.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The whole of `bytes` in one piece, without line breaks.
std::string base64Encode_(std::string_view bytes);

// Appends the Base64 text of `stream`, 57 bytes (76 characters) per line, the
// last line shorter. 0, or -1 when there is no stream.
int encodeBase64(const std::optional<std::string>& stream, std::vector<std::string>& lines);

// Appends the bytes of one line: groups of four characters from its start,
// characters outside the alphabet counting as 0, a trailing incomplete group
// ignored; a group whose third character is the line's next "=" yields one
// byte, whose fourth is, two.
void decodeBase64Line(std::string_view line, std::string& out);

// Replaces the bytes of `stream` with the decoded bytes of all `lines` (any
// list of lines). 0, or -1 when there is no stream.
template <class LineList>
int decodeBase64(std::optional<std::string>& stream, const LineList& lines) {
    if (!stream) return -1;
    std::size_t characters = 0;
    for (std::string_view line : lines) characters += line.size();
    // Writing from the start would leave a longer old body's tail behind the
    // new bytes; the decoded bytes replace the body instead.
    stream->clear();
    stream->reserve(characters / 4 * 3);
    for (std::string_view line : lines) decodeBase64Line(line, *stream);
    return 0;
}

}  // namespace zel
