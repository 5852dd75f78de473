#pragma once
// The clock every "now" and "today" of the program is read from: page stamps,
// %DATE% and %TIME%, the day a calendar starts from. Tests install a fixed
// one, so nothing they check depends on when they run.

#include <functional>
#include <utility>

#include "text/DateTime.h"

namespace zel {

using ClockSource = std::function<DateTime()>;

// Installs `source` (an empty one means the system clock) and returns the one
// it replaces, so a caller can put it back.
ClockSource setClock(ClockSource source);
// The local date and time, as the installed source tells it.
DateTime clockNow();

// Installs a source for as long as it lives.
class ScopedClock {
  public:
    explicit ScopedClock(ClockSource source) : previous_(setClock(std::move(source))) {}
    ~ScopedClock() { setClock(std::move(previous_)); }
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

  private:
    ClockSource previous_;
};

}  // namespace zel
