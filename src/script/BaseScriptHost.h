#pragma once
// A host of scripts: serves the host routines (HostPrototypes.h) to the
// interpreters it wires, one handler per routine, dispatched by the Index the
// interpreter passes. The routines every host serves alike are served here:
// the log lines (Print, PrintLog, UIAddLog_, UIAddLogDT_, and PrintBuf and
// PrintBuf2 where no runner takes them), Sqrt and the string_* routines. The
// window's host and zel-tool run each add the rest they can serve.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "script/HostPrototypes.h"
#include "script/TPoorPascal.h"

namespace zel {

// One call of a host routine: its arguments, its error code and its answer.
class HostCall {
  public:
    explicit HostCall(const TArgumentList& args) : args_(args) {}
    const std::string& text(std::size_t i) const { return args_[i].strValue; }
    std::int64_t number(std::size_t i) const { return args_[i].intValue; }
    double real(std::size_t i) const { return args_[i].realValue; }

    // Non-zero ends the run with the message ErrorProc gives for it.
    std::int32_t err = 0;
    TPPAArgument answer;

  private:
    const TArgumentList& args_;
};

class BaseScriptHost {
  public:
    // ErrorProc's codes: a routine the host does not serve, and an integer
    // argument that does not fit in 32 bits.
    static constexpr std::int32_t kUnknownRoutine = -1;
    static constexpr std::int32_t kRangeError = -2;

    virtual ~BaseScriptHost() = default;
    BaseScriptHost(const BaseScriptHost&) = delete;
    BaseScriptHost& operator=(const BaseScriptHost&) = delete;

    // True when a handler answering as the row declares serves `routine`.
    bool serves(const HostRoutine& routine) const;

  protected:
    BaseScriptHost();

    // Serves the host routine `name` with `handler`, in place of any handler
    // it had. The handler takes the HostCall and returns what the routine
    // answers: nothing for a procedure, an integer, a double or a string.
    template <class Handler>
    void serve(std::string_view name, Handler handler);
    // Routes the routine events, ErrorProc and StrObjParam of `pp` here.
    void wire(TPoorPascal& pp);

    // A line of the log: Print and the log routines.
    virtual void printLine(const std::string& line) = 0;
    // A line PrintBuf2 gives the runner `runner` (PrintBuf: no name).
    virtual void printToRunner(const std::string& runner, const std::string& line);
    // A call no handler serves: a procedure ends the run, a function
    // answers 0 or ''.
    virtual void unserved(std::int32_t index, HostAnswer answer, HostCall& call);
    // True when `pp` takes nothing more from the host (its run is stopping).
    virtual bool ignoresCalls(const TPoorPascal& pp) const;

  private:
    struct Entry {
        HostAnswer answer;
        std::function<void(HostCall&)> run;
    };
    void add(std::string_view name, HostAnswer answer, std::function<void(HostCall&)> run);
    void dispatch(const TPoorPascal& pp, std::int32_t index, HostAnswer answer, HostCall& call);
    // Routes a function event of `pp`: its answer comes from `field`.
    template <class Event, class T>
    void wireFunction(Event& event, const TPoorPascal& pp, HostAnswer answer,
                      T TPPAArgument::*field);

    std::unordered_map<std::int32_t, Entry> handlers_;
};

template <class Handler>
void BaseScriptHost::serve(std::string_view name, Handler handler) {
    using R = std::invoke_result_t<Handler&, HostCall&>;
    if constexpr (std::is_void_v<R>) {
        add(name, HostAnswer::None, std::move(handler));
    } else if constexpr (std::is_integral_v<R>) {
        add(name, HostAnswer::Integer,
            [h = std::move(handler)](HostCall& c) mutable { c.answer.intValue = h(c); });
    } else if constexpr (std::is_floating_point_v<R>) {
        add(name, HostAnswer::Real,
            [h = std::move(handler)](HostCall& c) mutable { c.answer.realValue = h(c); });
    } else {
        add(name, HostAnswer::String,
            [h = std::move(handler)](HostCall& c) mutable { c.answer.strValue = h(c); });
    }
}

}  // namespace zel
