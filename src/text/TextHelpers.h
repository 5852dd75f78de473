#pragma once
// Free functions on single Shift_JIS texts shared by the whole program. A byte
// of a double-byte character never counts as a delimiter, quote or digit.

#include <string>
#include <string_view>

namespace zel {

// Without leading and trailing bytes up to 0x20 (blanks and control characters).
std::string trimText(std::string_view text);

bool containsDigit(std::string_view text);
// The last digit run counted up by one with carry (memo19 -> memo20, 99 -> 00).
std::string incrementDigits(std::string_view text);

}  // namespace zel
