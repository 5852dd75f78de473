#pragma once
// Number formats that come from files and users ("%.5d", "%7d", "No.%03d:").
// They are interpreted here, never handed to printf.

#include <string>
#include <string_view>

namespace zel {

inline constexpr std::string_view kDefaultNumberFormat = "%.5d";

// `format` with its one integer conversion - "%", flags from "-+ 0#", a width,
// a "." and a precision, then d, x or X (hexadecimal digits are upper case
// either way) - replaced by `value`; "%%" stands for "%". A format without
// exactly one such conversion, or with any other conversion, is replaced by
// `fallback` (which, when no better, gives plain decimal digits).
std::string formatNumber(std::string_view format, long long value,
                         std::string_view fallback = kDefaultNumberFormat);

}  // namespace zel
