#pragma once
// The settings file: flat "key=value" lines without sections, read once at
// start and never written. Keys are matched without regard to letter case and
// the first line carrying a key wins.

#include <string>
#include <string_view>
#include <vector>

namespace zel {

class IniFile {
  public:
    IniFile() = default;
    // `text` is the file's Shift_JIS content; CR LF, LF and CR all end lines.
    explicit IniFile(std::string_view text);

    // Everything after the first "=" of the first line whose key is `key`;
    // empty when absent.
    std::string raw(std::string_view key) const;
    // The raw value trimmed of blanks and control characters, then one layer
    // of double quotes stripped.
    std::string normalised(std::string_view key) const;
    // The leading number of the normalised value; 0 when it has none.
    int integer(std::string_view key) const;

  private:
    std::vector<std::string> lines_;
};

// Reads a number from the start of `text` as the settings file does: blanks,
// an optional sign, decimal digits ("$" or "0x" for hexadecimal); reading stops
// at the first other character. Saturates at the limits of int.
int leadingInteger(std::string_view text);

}  // namespace zel
