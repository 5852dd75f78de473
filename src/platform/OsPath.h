#pragma once
// Where model paths (Shift_JIS) meet the file system (UTF-8), and how an errno
// becomes a message. Used inside the platform layer only.

#include <string>
#include <string_view>

#include "platform/IoResult.h"

namespace zel {

std::string toOsPath(std::string_view sjisPath);
std::string fromOsPath(std::string_view osPath);

// "<what> <path>: <system reason>", for the errno of the call that just failed.
IoResult errnoFailure(std::string_view what, std::string_view sjisPath, int error);

}  // namespace zel
