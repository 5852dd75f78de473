#pragma once
// Path pieces the window needs beyond the model's own.

#include <string>
#include <string_view>

#include "text/LineList.h"
#include "text/TextHelpers.h"

namespace zel {

// The last component of `path`.
inline std::string fileNameOf(std::string_view path) {
    return std::string(path.substr(folderOf(path).size()));
}
// The last component without its extension.
inline std::string baseNameOf(std::string_view path) {
    std::string name = fileNameOf(path);
    return name.substr(0, name.size() - extensionOf(name).size());
}
// `path` with its extension replaced by `extension` (".mxa").
inline std::string withExtension(std::string_view path, std::string_view extension) {
    return std::string(path.substr(0, path.size() - extensionOf(path).size())) +
           std::string(extension);
}

}  // namespace zel
