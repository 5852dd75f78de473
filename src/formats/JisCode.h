#pragma once
// Shift_JIS to ISO-2022-JP ("JIS" code, RFC 1468) for outgoing mail. There is
// no way back: received mail is stored as it arrives.

#include <string>
#include <string_view>

namespace zel {

// The 7-bit form of a Shift_JIS text: ESC $ B before two-byte characters,
// ESC ( J before single bytes after them and at the end. Half-width katakana
// become their full-width characters, a following sound mark absorbed. A byte
// that is not part of a valid character, or a pair whose code falls outside the
// 94 x 94 set, becomes the geta mark (22 2E) so that nothing 8-bit leaves.
std::string sjisToJis_(std::string_view text);

}  // namespace zel
