#include "app/commands/CommandTable.h"

#include <algorithm>
#include <concepts>
#include <limits>
#include <new>
#include <string>
#include <unordered_map>

#include "app/commands/CommandNames.h"
#include "app/window/TFormMainScript.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

using Window = TFormMainScript;

// Sizes beyond the range of a command's result read as the largest one.
int toResult(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

long long numberOf(std::string_view argument) {
    return readInteger(argument).value_or(0);
}

// The entry of a built command; the argument kind follows the member's signature.
template <class R, class C>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)()) {
    return {name, caption, CommandArgument::None,
            [member](Window& w, std::string_view) { return toResult((w.*member)()); }};
}

template <class R, class C>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)(std::string_view)) {
    return {name, caption, CommandArgument::Text,
            [member](Window& w, std::string_view text) { return toResult((w.*member)(text)); }};
}

template <class R, class C, std::integral N>
requires std::derived_from<Window, C> CommandEntry command(std::string_view name,
                                                           std::string_view caption,
                                                           R (C::*member)(N)) {
    return {name, caption, CommandArgument::Number, [member](Window& w, std::string_view text) {
                const long long value = numberOf(text);
                const N bounded = static_cast<N>(std::clamp<long long>(
                    value, std::numeric_limits<N>::min(), std::numeric_limits<N>::max()));
                return toResult((w.*member)(bounded));
            }};
}

// The captions of menu items that pass an argument, where not the command's.
struct ArgumentCaption {
    std::string_view name;
    std::string_view argument;
    std::string_view caption;
};

constexpr ArgumentCaption kArgumentCaptions[] = {
#define ZEL_CAPTION(name, argument, caption) {commands::name, argument, caption},
#include "app/commands/Commands.def"
};

}  // namespace

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = {
#define ZEL_COMMAND(name, caption, result, parameters) command(#name, caption, &Window::name),
#define ZEL_BASE_COMMAND(name, caption, result, parameters) command(#name, caption, &Window::name),
#include "app/commands/Commands.def"
    };
    return table;
}

std::string_view commandCaption(std::string_view name, std::string_view argument) {
    for (const ArgumentCaption& entry : kArgumentCaptions)
        if (entry.name == name && entry.argument == argument) return entry.caption;
    const CommandEntry* entry = findCommand(name);
    return entry ? entry->caption : std::string_view();
}

const CommandEntry* findCommand(std::string_view name) {
    static const auto index = [] {
        std::unordered_map<std::string_view, const CommandEntry*> byName;
        for (const CommandEntry& entry : commandTable()) byName.emplace(entry.name, &entry);
        return byName;
    }();
    const auto found = index.find(name);
    return found == index.end() ? nullptr : found->second;
}

bool isCommandBuilt(std::string_view name) {
    const CommandEntry* entry = findCommand(name);
    return entry && entry->built();
}

int runCommand(TFormMainScript& window, std::string_view name, std::string_view argument) {
    const CommandEntry* entry = findCommand(name);
    if (!entry) return kUnknownCommand;
    if (!entry->built()) {
        window.notImplemented_(name);
        return kCommandNotBuilt;
    }
    if (entry->argument == CommandArgument::Number && !readInteger(argument)) {
        window.messageDoing_("ERROR: " + std::string(name) + " needs a number, not \"" +
                             std::string(argument) + "\"");
        return kBadCommandArgument;
    }
    try {
        return entry->run(window, argument);
    } catch (const std::bad_alloc&) {
        // What the command was building has gone with its stack, which gave
        // the memory back; the window goes on.
        window.addLogDT_("ERROR: not enough memory in " + std::string(name));
        window.doneDoing_("ERROR: not enough memory");
        return kNotEnoughMemory;
    }
}

}  // namespace zel
