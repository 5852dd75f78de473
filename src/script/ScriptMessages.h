#pragma once
// The texts a script run ends with, as Shift_JIS bytes. Stored scripts and the
// people who read their errors know them by heart, so they never change. A
// text that takes a filler is followed by "[" filler "]" (see bracketed).

#include <string>
#include <string_view>

namespace zel::script_messages {

inline constexpr std::string_view kSyntax =
    "\x95\xB6\x96\x40\x83\x47\x83\x89\x81\x5B\x82\xC5\x82\xB7";
inline constexpr std::string_view kNoRightParen =
    "\x89\x45\x8A\x87\x8C\xCA\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kVariableType =
    "\x95\xCF\x90\x94\x82\xCC\x8C\x5E\x82\xAA\x88\xE1\x82\xA2\x82\xDC\x82\xB7";
inline constexpr std::string_view kResultType =
    "\x8A\xD6\x90\x94\x82\xCC\x96\xDF\x82\xE8\x92\x6C\x82\xCC\x8C\x5E\x82\xAA\x88\xE1\x82\xA2\x82"
    "\xDC\x82\xB7";
inline constexpr std::string_view kUndefined =
    "\x95\xCF\x90\x94\x82\xDC\x82\xBD\x82\xCD\x8A\xD6\x90\x94\x82\xCD\x92\xE8\x8B\x60\x82\xB3\x82"
    "\xEA\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kNoBuiltinFunction =
    "\x96\xA2\x90\xE9\x8C\xBE\x82\xCC\x91\x67\x82\xDD\x8D\x9E\x82\xDD\x8A\xD6\x90\x94\x82\xC5\x82"
    "\xB7";
inline constexpr std::string_view kNoBuiltinProcedure =
    "\x96\xA2\x90\xE9\x8C\xBE\x82\xCC\x91\x67\x82\xDD\x8D\x9E\x82\xDD\x8E\xE8\x91\xB1\x82\xAB\x82"
    "\xC5\x82\xB7";
inline constexpr std::string_view kDuplicateVariable =
    "\x95\xCF\x90\x94\x2F\x92\xE8\x90\x94\x96\xBC\x82\xCC\x8F\x64\x95\xA1\x92\xE8\x8B\x60";
inline constexpr std::string_view kDuplicateParameter =
    "\x89\xBC\x88\xF8\x90\x94\x96\xBC\x82\xCC\x8F\x64\x95\xA1\x92\xE8\x8B\x60";
inline constexpr std::string_view kDeclaration =
    "\x92\xE8\x8B\x60\x83\x47\x83\x89\x81\x5B\x82\xC5\x82\xB7";
inline constexpr std::string_view kDuplicateRoutine =
    "\x8E\xE8\x91\xB1\x82\xAB\x2F\x8A\xD6\x90\x94\x82\xCC\x8F\x64\x95\xA1\x90\xE9\x8C\xBE";
inline constexpr std::string_view kReadOnly =
    "\x93\xC7\x8E\xE6\x90\xEA\x97\x70\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4E\x83\x67\x82\xC9\x82"
    "\xCD\x91\xE3\x93\xFC\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kBadExpression =
    "\x8E\xAE\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7";
inline constexpr std::string_view kNoEnd = "end\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kNoOf = "of\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";
inline constexpr std::string_view kAborted =
    "\x8E\xC0\x8D\x73\x82\xF0\x92\x86\x92\x66\x82\xB5\x82\xDC\x82\xB5\x82\xBD";
// What a host answers for a routine it does not know (its error code -1).
inline constexpr std::string_view kHostRoutineFailed =
    "\x83\x86\x81\x5B\x83\x55\x81\x5B\x92\xE8\x8B\x60\x8E\xE8\x91\xB1\x82\xAB\x2F\x8A\xD6\x90\x94"
    "\x82\xCC\x93\xE0\x95\x94\x83\x47\x83\x89\x81\x5B\x82\xC5\x82\xB7\x81\x42";

// Faults of the arithmetic and of the limits that keep a run from taking the
// program down with it.
inline constexpr std::string_view kDivisionByZero = "Division by zero";
inline constexpr std::string_view kInvalidReal = "Invalid floating point operation";
inline constexpr std::string_view kRealOverflow = "Floating point overflow";
inline constexpr std::string_view kRangeCheck = "Range check error";
inline constexpr std::string_view kTooDeep = "Nesting too deep";
inline constexpr std::string_view kTooLong = "String too long";
inline constexpr std::string_view kBusy = "The script is running already";

// `message` + "[" + `filler` + "]".
inline std::string bracketed(std::string_view message, std::string_view filler) {
    std::string text(message);
    text += '[';
    text += filler;
    text += ']';
    return text;
}

}  // namespace zel::script_messages
