#pragma once
// The version labels the program reports.

namespace zel {

inline constexpr const char* kVersionLabel = "00.15.08";
inline constexpr const char* kReleaseDateLabel = "Mar 01, 2006";

}  // namespace zel
