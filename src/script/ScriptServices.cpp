#include "script/ScriptServices.h"

#include <chrono>
#include <thread>

#include "platform/Opener.h"
#include "platform/Process.h"
#include "text/TextHelpers.h"

namespace zel {

void ScriptServices::wait(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ScriptServices::inputBox(const std::string&, const std::string&,
                                     const std::string& initial) {
    return initial;
}

int ScriptServices::messageBox(const std::string&, const std::string&, int) {
    return 1;
}

std::int64_t ScriptServices::exec(const std::string& path, const std::string& commandLine,
                                  bool wait, const std::function<bool()>& keepWaiting) {
    RunningProgram program;
    if (!program.start(path, commandLine)) return 0;
    if (!wait) return -1;
    for (;;) {
        if (auto code = program.poll()) return *code;
        if (!keepWaiting()) return -1;
    }
}

int ScriptServices::shell(const std::string& path, const std::string& commandLine) {
    bool started = false;
    if (trimmedView(commandLine).empty()) {
        started = openOnDesktop(path);
    } else {
        RunningProgram program;
        started = program.start(path, commandLine);
    }
    return started ? 42 : 2;
}

}  // namespace zel
