#pragma once
// The edge between model text (Shift_JIS bytes) and Qt strings.

#include <QString>
#include <string>
#include <string_view>

namespace zel {

QString toQ(std::string_view sjis);
// A character that code page 932 cannot hold becomes "?"; `replaced` counts them.
std::string fromQ(const QString& text, std::size_t* replaced = nullptr);

}  // namespace zel
