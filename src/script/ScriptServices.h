#pragma once
// What a script run needs from the program around it and cannot do alone:
// letting the user interface breathe, waiting, asking the user, and starting
// programs. The window, zel-tool and the tests each install their own; the
// defaults answer as a program with no user interface would.

#include <cstdint>
#include <functional>
#include <string>

namespace zel {

class ScriptServices {
  public:
    virtual ~ScriptServices() = default;

    // Lets the user interface handle its pending events. Called at block
    // entries (at most every few milliseconds) and by ProcessMessages; an
    // event handled here may abort the run.
    virtual void pump() {}
    // One slice of a wait (Sleep, Pause, Exec with Wait -1): returns after at
    // most `milliseconds`, or earlier when something happened.
    virtual void wait(int milliseconds);

    // The input box: the text entered, or `initial` when cancelled.
    virtual std::string inputBox(const std::string& caption, const std::string& prompt,
                                 const std::string& initial);
    // The message box with the classic button and icon flags (0 OK, 1 OK and
    // Cancel, 2 Abort, Retry and Ignore, 3 Yes, No and Cancel, 4 Yes and No,
    // 5 Retry and Cancel; icons 16, 32, 48, 64); the code of the button
    // pressed (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No).
    virtual int messageBox(const std::string& text, const std::string& caption, int flags);

    // Exec: starts `path` with the words of `commandLine` as its arguments,
    // no shell in between. 0 when it cannot be started; -1 at once unless
    // `wait`, else its exit code. A wait calls `keepWaiting` between polls
    // and gives up (-1, the program runs on) when it answers false.
    virtual std::int64_t exec(const std::string& path, const std::string& commandLine, bool wait,
                              const std::function<bool()>& keepWaiting);
    // Shell: hands `path` to the desktop (with `commandLine` as its
    // arguments when there are any); above 32 when that started, else 2.
    virtual int shell(const std::string& path, const std::string& commandLine);
};

}  // namespace zel
