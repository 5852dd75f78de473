#include "script/BaseScriptHost.h"

#include <cmath>
#include <stdexcept>

#include "platform/Clock.h"
#include "script/ScriptMessages.h"
#include "text/DateTime.h"
#include "text/Sjis.h"
#include "text/TextHelpers.h"

namespace zel {

namespace {

// The text before the first blank or tab.
std::string firstWordOf(const std::string& s) {
    std::size_t at = findAnySingleByte(s, " \t");
    return at == std::string::npos ? s : s.substr(0, at);
}

// The text after the first blank or tab, trimmed; empty when there is none.
std::string afterFirstWord(const std::string& s) {
    std::size_t at = findAnySingleByte(s, " \t");
    return at == std::string::npos ? std::string() : trimText(std::string_view(s).substr(at + 1));
}

}  // namespace

BaseScriptHost::BaseScriptHost() {
    serve("Print", [this](HostCall& c) { printLine(c.text(0)); });
    serve("PrintLog", [this](HostCall& c) { printLine(c.text(0)); });
    serve("PrintBuf", [this](HostCall& c) { printToRunner({}, c.text(0)); });
    serve("PrintBuf2", [this](HostCall& c) { printToRunner(c.text(0), c.text(1)); });
    serve("UIAddLog_", [this](HostCall& c) {
        printLine(c.text(0));
        return 0;
    });
    serve("UIAddLogDT_", [this](HostCall& c) {
        printLine(formatDateTime("yyyymmdd hhnnss", clockNow()) + " :" + c.text(0));
        return 0;
    });
    serve("Sqrt", [](HostCall& c) { return std::sqrt(c.real(0)); });
    serve("string_getS1", [](HostCall& c) { return firstWordOf(c.text(0)); });
    serve("string_getSX", [](HostCall& c) { return afterFirstWord(c.text(0)); });
    serve("string_unquate", [](HostCall& c) { return stripQuotes(c.text(0), '"'); });
}

bool BaseScriptHost::serves(const HostRoutine& routine) const {
    auto it = handlers_.find(routine.index);
    return it != handlers_.end() && it->second.answer == routine.answer();
}

void BaseScriptHost::add(std::string_view name, HostAnswer answer,
                         std::function<void(HostCall&)> run) {
    const HostRoutine* routine = findHostRoutine(name);
    if (!routine) throw std::logic_error("no host routine " + std::string(name));
    handlers_[routine->index] = Entry{answer, std::move(run)};
}

void BaseScriptHost::printToRunner(const std::string&, const std::string& line) {
    printLine(line);
}

void BaseScriptHost::unserved(std::int32_t, HostAnswer answer, HostCall& call) {
    if (answer == HostAnswer::None) call.err = kUnknownRoutine;
}

bool BaseScriptHost::ignoresCalls(const TPoorPascal&) const {
    return false;
}

void BaseScriptHost::dispatch(const TPoorPascal& pp, std::int32_t index, HostAnswer answer,
                              HostCall& call) {
    if (ignoresCalls(pp)) return;
    auto it = handlers_.find(index);
    if (it == handlers_.end() || it->second.answer != answer) {
        unserved(index, answer, call);
        return;
    }
    it->second.run(call);
}

template <class Event, class T>
void BaseScriptHost::wireFunction(Event& event, const TPoorPascal& pp, HostAnswer answer,
                                  T TPPAArgument::*field) {
    event = [this, &pp, answer, field](const std::string&, std::int32_t index,
                                       const TArgumentList& args, std::int32_t& err, T& result) {
        HostCall call(args);
        dispatch(pp, index, answer, call);
        err = call.err;
        result = std::move(call.answer.*field);
    };
}

void BaseScriptHost::wire(TPoorPascal& pp) {
    auto& ev = pp.events;
    ev.ProcParam = [this, &pp](const std::string&, std::int32_t index, const TArgumentList& args,
                               std::int32_t& err) {
        HostCall call(args);
        dispatch(pp, index, HostAnswer::None, call);
        err = call.err;
    };
    wireFunction(ev.IntFuncParam, pp, HostAnswer::Integer, &TPPAArgument::intValue);
    wireFunction(ev.RealFuncParam, pp, HostAnswer::Real, &TPPAArgument::realValue);
    wireFunction(ev.StrFuncParam, pp, HostAnswer::String, &TPPAArgument::strValue);
    ev.ErrorProc = [](std::int32_t code, std::string& message) {
        if (code == kUnknownRoutine) message = std::string(script_messages::kHostRoutineFailed);
        if (code == kRangeError) message = std::string(script_messages::kRangeCheck);
    };
    // Host-bound strings keep their stored values.
    ev.StrObjParam = [](const std::string&, std::int32_t, std::uint8_t, std::int32_t&,
                        std::string&) {};
}

}  // namespace zel
