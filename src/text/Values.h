#pragma once
// Values as the texts stored in fields: booleans and colours, and the point
// test the views share.

#include <cstdint>
#include <string>
#include <string_view>

namespace zel {

// Red in the low byte, then green, then blue (pure blue is 0xFF0000); values
// from 0x80000000 up name system colours (button face 0x8000000F).
using Color = std::uint32_t;

struct Point {
    int x = 0, y = 0;
};
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// "true" or "false", without quotes.
std::string boolToText(bool flag);

// The colour's name ("clTeal"), else "$" and at least six upper-case hex digits.
std::string colorToName(Color color);
// A name (letter case exact), "$" and hex digits, or decimal digits; 0 (black)
// for anything else. Reading a number stops at its first foreign character.
Color nameToColor(std::string_view text);

// Strictly inside: points on the border are outside.
bool pointInRect(Point point, const Rect& rect);

}  // namespace zel
