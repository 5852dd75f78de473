#pragma once
// The name of every command as a constant of its own, made from the command
// lists, so the menu map and the window name commands the compiler knows:
// a misspelt name does not build.

#include <string_view>

namespace zel::commands {

#define ZEL_COMMAND(name, caption, result, parameters) \
    inline constexpr std::string_view name = #name;
#define ZEL_BASE_COMMAND(name, caption, result, parameters) \
    inline constexpr std::string_view name = #name;
#include "app/commands/Commands.def"

}  // namespace zel::commands
