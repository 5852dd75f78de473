#include "platform/Clock.h"

#include <utility>

namespace zel {

namespace {

ClockSource& installed() {
    static ClockSource source;
    return source;
}

}  // namespace

ClockSource setClock(ClockSource source) {
    return std::exchange(installed(), std::move(source));
}

DateTime clockNow() {
    const ClockSource& source = installed();
    return source ? source() : currentDateTime();
}

}  // namespace zel
