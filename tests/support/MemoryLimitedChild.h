#pragma once
// Runs a part of a test in a forked child whose address space is held to
// what the test already uses plus a little, so running out of memory is
// tried for real without putting the test run at risk.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <functional>

namespace zel::test {

struct ChildEnd {
    bool exited = false;  // by exit, not by a signal
    int status = -1;      // its exit status when it exited
    int signal = 0;       // the signal that ended it otherwise
};

// The address space the process holds now, in bytes.
inline std::size_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// `body` runs in a child limited to the address space in use plus
// `headroom` bytes; the child exits with what `body` returns, without
// running the test program's exit handlers. An exception that leaves `body`
// aborts the child, as it would end the program.
inline ChildEnd runWithMemoryLimit(std::size_t headroom, const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        const rlim_t limit = addressSpaceInUse() + headroom;
        const rlimit bounded{limit, limit};
        ::setrlimit(RLIMIT_AS, &bounded);
        try {
            ::_exit(body());
        } catch (...) {
            std::abort();
        }
    }
    ChildEnd end;
    int raw = 0;
    if (child < 0 || ::waitpid(child, &raw, 0) != child) return end;
    end.exited = WIFEXITED(raw);
    if (end.exited) end.status = WEXITSTATUS(raw);
    if (WIFSIGNALED(raw)) end.signal = WTERMSIG(raw);
    return end;
}

}  // namespace zel::test
