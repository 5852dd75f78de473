#pragma once
// The outcome of an operating-system call: success, or a one-line reason that
// names the file and what went wrong. Nothing in the platform layer throws.

#include <string>
#include <utility>

namespace zel {

struct IoResult {
    bool ok = true;
    std::string message;  // Shift_JIS; empty on success

    static IoResult success() { return {}; }
    static IoResult failure(std::string why) { return {false, std::move(why)}; }
    explicit operator bool() const { return ok; }
};

}  // namespace zel
