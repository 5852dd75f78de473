#pragma once
// Shortcuts on this desktop: ".desktop" files (Type=Link or Type=Application)
// and symbolic links. Opening one opens its target.

#include <string>
#include <string_view>

namespace zel {

// The target of a shortcut: the URL of a link entry (a file:// address as a
// local path), the program of an application entry, or where a symbolic
// link points. Any other path is returned unchanged.
std::string shortcutTarget(std::string_view path);

}  // namespace zel
