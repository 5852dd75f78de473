#pragma once
// Where stub and consistency reports go. The user interface installs a
// reporter that shows a message box; until then reports go to standard error.

#include <functional>
#include <string>
#include <string_view>

namespace zel {

using Reporter = std::function<void(const std::string&)>;

// Installs `reporter` and returns the one it replaces (restore it when done).
Reporter setReporter(Reporter reporter);
void report(std::string_view text);
void reportShouldNotExecute(std::string_view text);
void reportNotImplemented(std::string_view text);

}  // namespace zel
