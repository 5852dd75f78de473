#pragma once
// The machine: the state of one interpreter (its symbol tables, its run's
// program and the flags that stop it) and the run cycle over compiled blocks.
// The inside of the interpreter; nothing outside src/script includes this.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "script/ScriptLexer.h"
#include "script/ScriptMessages.h"
#include "script/ScriptServices.h"
#include "script/TPoorPascal.h"

namespace zel::script {

// An error that ends the run; only the machine's run loop catches it.
struct ScriptError {
    std::string message;
};
[[noreturn]] void fail(std::string message);

struct Variable {
    std::string name;  // as declared
    TPPAType type = TPPAType::Integer;
    bool permanent = false;
    bool readOnly = false;
    bool hostBound = false;
    std::int32_t hostIndex = 0;
    std::int64_t intValue = 0;
    double realValue = 0;
    std::string strValue;
};

struct Routine {
    std::string name;  // upper case
    bool permanent = false;
    bool function = false;
    std::int32_t index = 0;
    std::vector<TPPAParameter> parameters;
    TPPAType result = TPPAType::Integer;
};

struct Machine;

struct Stmt {
    virtual ~Stmt() = default;
    virtual void exec(Machine& m) const = 0;
};

// A block: a range of the run's tokens, compiled into statements when first
// executed (and again when the tables changed since).
struct Block {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
    std::uint64_t generation = 0;  // 0: not compiled
    std::vector<std::unique_ptr<Stmt>> statements;
};

// One run's program: its text, tokens and compiled blocks.
struct Program {
    std::string text;
    std::vector<Token> tokens;
    Block root;
    // Statements replaced while the run was inside them stay until it ends.
    std::vector<std::vector<std::unique_ptr<Stmt>>> retired;
};

// The run-state bits every statement and loop looks at.
enum StopBits : std::uint8_t { kAbort = 1, kBreak = 2, kContinue = 4, kExit = 8 };

constexpr int kMaxDepth = 1000;
constexpr std::size_t kMaxString = 64u << 20;

struct Machine {
    // Holds True, False, Nil and the built-in routines.
    explicit Machine(TPoorPascal& owner);

    TPoorPascal* owner;
    std::vector<std::string> source, prototypes, define;
    std::string name;
    ScriptServices* services = nullptr;
    ScriptServices defaultServices;

    std::map<std::string, std::unique_ptr<Variable>> variables;  // by upper-case name
    std::map<std::string, std::unique_ptr<Routine>> procedures;
    std::map<std::string, std::unique_ptr<Routine>> functions;
    std::map<std::int32_t, const Routine*> builtins;  // by index

    std::uint8_t stop = 0;
    bool paused = false;
    bool running = false;
    std::uint64_t generation = 1;  // changes whenever the tables change
    std::uint64_t stepLimit = 0;
    // Steps until the limit, counted down so a step costs one decrement; with
    // no limit it wraps and would need 2^64 steps to reach zero.
    std::uint64_t stepsLeft = 0;
    int depth = 0;
    int pumpCountdown = 1;
    std::chrono::steady_clock::time_point lastPump;
    std::unique_ptr<Program> program;

    ScriptServices& host() { return services ? *services : defaultServices; }
    TPoorPascalEvents& events() { return owner->events; }

    Variable* findVariable(std::string_view name) const;
    Routine* findProcedure(std::string_view name) const;
    Routine* findFunction(std::string_view name) const;

    // A new variable of that name (not there yet), initial values.
    Variable& addVariable(std::string_view name, TPPAType type);
    // The routine with a built-in's index as the built-in declares it.
    const Routine* builtinShape(std::int32_t index) const;

    TPPARunResult run();
    void execBlock(Block& block);
    // Block entries let the user interface in, at most every few milliseconds.
    void breathe() {
        if (--pumpCountdown > 0) return;
        pumpCountdown = 64;
        auto now = std::chrono::steady_clock::now();
        if (now - lastPump < std::chrono::milliseconds(10)) return;
        lastPump = now;
        host().pump();
    }
    void countStep() {
        if (--stepsLeft == 0) abort();
    }
    // A new limit counts the steps the run has already taken.
    void setStepLimit(std::uint64_t limit) {
        stepsLeft += limit - stepLimit;
        stepLimit = limit;
    }
    void abort() {
        paused = false;
        stop |= kAbort;
    }
    // One slice of a wait: false once the run is aborted.
    bool waitSlice(int milliseconds);
};

// Strings are stored NUL-ended: a NUL byte ends a stored value.
inline void cutAtNul(std::string& s) {
    auto nul = s.find('\0');
    if (nul != std::string::npos) s.resize(nul);
}
inline void checkLength(const std::string& s) {
    if (s.size() > kMaxString) fail(std::string(script_messages::kTooLong));
}

// Integer and real conversions that end the run on values with no result.
std::int64_t realToInteger(double value);
double checkedReal(double value);

// Declares the built-in routines, permanently.
void declareBuiltins(Machine& m);
// The built-in routine `routine` (a permanent one) on `args`.
void callBuiltin(Machine& m, const Routine& routine, TPPAArgument* args, TPPAArgument& result);

}  // namespace zel::script
