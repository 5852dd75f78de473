#pragma once
// What every command of the window shares: the codes it gives back when it
// did not do its work, the guards it opens with, and the busy state it runs
// in. Scripts and tests read the codes and the status texts, so both stay
// exactly as the commands have always given them.

#include <exception>
#include <string>
#include <string_view>

namespace zel {

// A command gives 0 or a count when it did its work, one of these when it
// did not. Where commands have given one value for several reasons, each
// reason has its own name for that value.
enum CommandResult : int {
    // A command runs already, a guard refused, the user cancelled, or the
    // work failed: the status bar or a box says which.
    kFailed = -1,
    // The screen could not be captured for an image node.
    kNoScreenCapture = -6,
    // The field the command works from (a node's Filename or Link) is empty.
    kMissingField = -7,
    // The node view the command writes into is missing.
    kMissingView = -7,
    // The commands that tell the two read-only refusals apart: the current
    // holder is read-only, or the window's ReadOnly switch is on.
    kHolderReadOnly = -7,
    kUIReadOnly = -8,
    // No current node, or no node view to work in.
    kNoNode = -8,
    // The user cancelled the calendar page's question.
    kCalendarCancelled = -8,
    // No memo file, no current holder, or no holder view.
    kNoHolder = -9,
    // The modal windows of holder properties and save-each answer a running
    // command with it, and the holder properties' command gives it whatever
    // its dialog did.
    kModalWindowResult = -9,
    // A name the command table does not know; a routine that should not run.
    kUnknownCommand = -100,
    kShouldNotExecute = -100,
    // A command named but not built ("Still not implemented. "), and the
    // menu entries that say so.
    kCommandNotBuilt = -101,
    // A number argument that is not an integer: nothing ran.
    kBadCommandArgument = -102,
    // The command ran out of memory and ended with its reason.
    kNotEnoughMemory = -103,
};

// The guards a command opens with, tried in this order; the first that
// holds says why in the status bar ("Now Doing " and the time, "UI
// ReadOnly", or the read-only holder's name) and refuses the command.
// A missing current holder refuses HolderReadOnly without a word.
enum Guard : unsigned { Busy = 1u, UIReadOnly = 2u, HolderReadOnly = 4u };
using Guards = unsigned;

// What each refusal gives back.
struct RefusalCodes {
    int busy = kFailed;
    int uiReadOnly = kFailed;
    int holderReadOnly = kFailed;
};
// For the commands that tell the read-only refusals apart.
inline constexpr RefusalCodes kReadOnlyApart{kFailed, kUIReadOnly, kHolderReadOnly};

// A run in the window's busy state: begun with `label` when the scope is
// made ("*Doing* " + label), ended when it goes, whichever way the code
// leaves, with the status text given to endWith (none: "Done: " + label,
// or "Break: " + label after Break). An exception on its way out leaves
// the ending to whoever catches it (runCommand ends with the reason).
template <class Window>
class CommandScope {
  public:
    CommandScope(Window& window, std::string_view label) : window_(window) {
        window_.startDoing_(label);
    }
    ~CommandScope() noexcept(false) {
        if (std::uncaught_exceptions() == exceptions_) window_.doneDoing_(text_);
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

    // The status text the busy state ends with.
    void endWith(std::string_view text) { text_ = text; }

  private:
    Window& window_;
    std::string text_;
    int exceptions_ = std::uncaught_exceptions();
};

}  // namespace zel
