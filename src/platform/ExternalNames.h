#pragma once
// File names that come from outside (a container part, a mail attachment, a
// downloaded address) are reduced to a plain name before they meet a folder,
// so no such name can write anywhere but into the folder meant for it.

#include <string>
#include <string_view>

namespace zel {

// The last component of `name` (after the last "/" or "\", the Shift_JIS
// second bytes that look like "\" excepted), without control bytes, never "."
// or "..", never empty (`fallback` then), and short enough for the file
// system. Shift_JIS in, Shift_JIS out.
std::string plainFileName(std::string_view name, std::string_view fallback = "noname");

// `plain` (a plainFileName) with "_" + `number` before its extension
// ("a.txt", 2 gives "a_2.txt"); 0 gives `plain` itself. Where the number
// would make the name too long for the file system, the stem gives way.
std::string numberedFileName(std::string_view plain, int number);

// `folder` + "/" + plainFileName(name): always a direct child of `folder`.
std::string joinInsideFolder(std::string_view folder, std::string_view name);

}  // namespace zel
