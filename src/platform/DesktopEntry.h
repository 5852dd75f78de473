#pragma once
// Desktop entry files (.desktop), the launchers, associations and shortcuts
// the desktop reads. Their format is UTF-8 by specification, so everything
// here deals in the file system's own bytes (OS paths), never in model text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zel {

// The Exec value that runs `arguments` (the program first), with
// `fieldCodes` (for instance "%f") appended as they stand. Each argument is
// quoted when it holds a reserved character, with `"` `` ` `` `$` `\`
// escaped inside the quotes and `%` doubled; then the escapes of the format's
// string type are applied, so a backslash in a path becomes four. None when
// an argument is not UTF-8 or holds a control byte other than tab and line
// feed, which no desktop reads back.
std::optional<std::string> desktopExecLine(const std::vector<std::string>& arguments,
                                           std::string_view fieldCodes = {});

// The arguments an Exec value runs: string escapes undone, words split and
// unquoted, "%%" read as "%", and field codes ("%f", "%U", ...) dropped.
std::vector<std::string> desktopExecArguments(std::string_view value);

// A value of the format's string type: "\" "\n" "\t" "\r" escaped, so any
// UTF-8 text fits on one line.
std::string desktopStringValue(std::string_view text);

// The raw value of `key` in the [Desktop Entry] group of `text`; none when
// the key is absent.
std::optional<std::string> desktopEntryValue(std::string_view text, std::string_view key);

// True for bytes that are well-formed UTF-8.
bool isUtf8(std::string_view bytes);

}  // namespace zel
